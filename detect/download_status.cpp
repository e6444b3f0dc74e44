#include "detect/download_status.h"

#include <cstddef>

#include "detect/window_list.h"
#include "platform/text.h"

namespace {

// Searched in top-level captions.
const Text kErrorBoxCaption = u"Microsoft Internet Explorer";
const Text kDownloadCaption = u"ファイルのダウンロード";
const Text kProgressCaption = u"完了しました";
const Text kCopyCaption = u"コピーしています";
// Searched in the texts of the descendants.
const Text kTimedOut = u"処理がタイムアウトになりました";
const Text kConnectionReset = u"サーバーとの接続がリセットされました";
const Text kSaving = u"保存しています";

constexpr std::int16_t kTrue = -1;

// Snapshots the window's descendants and tells whether any text holds one of
// the two markers (the second may be empty).
bool Any_ChildContains(WindowHandle window, const Text& marker, const Text& other) {
    Snap_ChildWindows(window);
    const std::int32_t last = gChildLast;
    for (std::int32_t j = 0; j <= last; ++j) {
        const Text& text = gChildList[static_cast<std::size_t>(j)].Caption;
        if (Contains(text, marker) || (!other.empty() && Contains(text, other))) return true;
    }
    return false;
}

}  // namespace

void Get_DownloadStatus(std::int32_t& active, std::int32_t& failed, std::int16_t& copying) {
    std::int32_t activeCount = 0;
    std::int32_t failedCount = 0;
    std::int16_t copyingFlag = 0;

    // The child list holds only what this scan finds.
    gChildLast = -1;
    gChildList.clear();

    Snap_TopWindows();
    const std::int32_t last = gWinLast;
    for (std::int32_t i = 0; i <= last; ++i) {
        const WindowEntry& entry = gWinList[static_cast<std::size_t>(i)];
        if (Contains(entry.Caption, kErrorBoxCaption) && Any_ChildContains(entry.hWnd, kTimedOut, kConnectionReset))
            ++failedCount;
        if (Contains(entry.Caption, kDownloadCaption) && Any_ChildContains(entry.hWnd, kSaving, Text())) ++activeCount;
        if (Contains(entry.Caption, kProgressCaption)) ++activeCount;
        if (Contains(entry.Caption, kCopyCaption)) copyingFlag = kTrue;
    }

    active = activeCount;
    failed = failedCount;
    copying = copyingFlag;
}
