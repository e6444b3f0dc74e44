// The main window's About button: opens the About window modally and
// returns once it has been closed.
#pragma once

void cmdAbout_Click();
