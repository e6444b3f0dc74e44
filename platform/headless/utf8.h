// UTF-8 for what the native tests print and compare: traces and messages.
#pragma once
#include <string>
#include "platform/text.h"

std::string ToUtf8(const Text& text);
