// Start-up of the program: loads the main window and shows it idle. Interim:
// the watch controller takes this over with its own Form_Load and events.
#pragma once

void Start_Pellory();
