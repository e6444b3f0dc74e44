// Reloads the log view from the download log.
#pragma once
#include "platform/text.h"
#include "platform/toolkit.h"

// Fills `txtLog` with every line of the log at gLogFileName, each followed by
// CR LF, scrolls it to its end and sets `lastEvent` to the text of the last
// event recorded (empty when none). A missing log is no error. Any other
// error stops the reading, leaves what was read in the view, shows the box
// "number:description" titled "Read_Log" and returns false.
bool Read_Log(Control& txtLog, Text& lastEvent);
