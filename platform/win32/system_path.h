// Paths the system writes into a buffer of ours, read whole however long
// they are: the program file, the system folders, a path's long form.
#pragma once
#include "platform/text.h"

// The full path of the program file.
Text ModulePath();
// The System folder (System32) and the shared Windows folder.
Text SystemFolder();
Text WindowsFolder();
// The long form of an existing path.
Text LongPath(const Text& path);
// A file named inside a folder; a drive's root already ends in a backslash.
Text InFolder(const Text& folder, const Text& file);
