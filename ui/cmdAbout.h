// The About button's click: opens the About window.
#pragma once

void cmdAbout_Click();
