// The functions that run the driver's commands, by the file that holds them.
// Each returns the driver's exit status; the table in tools/driver.cpp has
// already checked that the request has the command's words.
#pragma once
#include "tools/driver/request.h"

namespace driver {

// window_queries.cpp
int ListCommand(const Request& request);
int FindCommand(const Request& request);
int WaitCommand(const Request& request);
int ControlsCommand(const Request& request);
int RectCommand(const Request& request);
int FocusCommand(const Request& request);

// input.cpp
int ClickCommand(const Request& request);
int MouseUpCommand(const Request& request);
int KeyCommand(const Request& request);
int CloseCommand(const Request& request);
int EndSessionCommand(const Request& request);
int SizeCommand(const Request& request);
int ShowCommand(const Request& request);

// message_box.cpp
int MessageBoxCommand(const Request& request);

// pixels.cpp
int DpiCommand(const Request& request);
int InkCommand(const Request& request);

// fonts.cpp
int FontsCommand(const Request& request);
int GlyphsCommand(const Request& request);

// hooks.cpp
int ScanFaultCommand(const Request& request);
int StrictLoaderCommand(const Request& request);

}  // namespace driver
