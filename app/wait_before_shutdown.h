// The pause between the shutdown caption and the end of the watch.
#pragma once

// Returns once 5000 ms have passed on the system's millisecond clock. A busy
// loop that processes no window messages: the window shows its shutdown
// caption and does not respond meanwhile.
void Wait_BeforeShutdown();
