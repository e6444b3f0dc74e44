// Text as the logic sees it: UTF-16 code units, so that every search is an
// exact code-unit comparison on Windows and natively alike.
#pragma once
#include <string>

using Text = std::u16string;

// True when `marker` occurs in `text` as a substring; an empty text never matches.
inline bool Contains(const Text& text, const Text& marker) { return !text.empty() && text.find(marker) != Text::npos; }
