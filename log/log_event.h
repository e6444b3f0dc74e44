// The four events of the download log and the texts that end their lines.
#pragma once
#include <cstddef>
#include "platform/text.h"

enum class LogEvent { Start = 0, NormalEnd = 1, AbnormalEnd = 2, Cancel = 3 };

constexpr std::size_t kLogEventCount = 4;

// The texts by LogEvent, in the order in which the reader tests a line for them.
inline constexpr const char16_t* kLogEventTexts[kLogEventCount] = {
    u"ダウンロード監視スタート",
    u"正常終了シャットダウン",
    u"異常終了シャットダウン",
    u"ダウンロード監視キャンセル",
};

inline const char16_t* LogEventText(LogEvent event) { return kLogEventTexts[static_cast<std::size_t>(event)]; }

// The event a log line reports: each text found anywhere in the line replaces
// the one found before it, in the order above. -1 when the line holds none.
int Find_LineEvent(const Text& line);
