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

enum class ChildTexts { Found, NotFound, NotListed };

// Snapshots the window's descendants and tells whether any text holds one of
// the two markers (the second may be empty), or that the system could not
// list them.
ChildTexts Any_ChildContains(WindowHandle window, const Text& marker, const Text& other) {
    const bool listed = Snap_ChildWindows(window);
    const std::int32_t last = gChildLast;
    for (std::int32_t j = 0; j <= last; ++j) {
        const Text& text = gChildList[static_cast<std::size_t>(j)].Caption;
        if (Contains(text, marker) || (!other.empty() && Contains(text, other))) return ChildTexts::Found;
    }
    return listed ? ChildTexts::NotFound : ChildTexts::NotListed;
}

}  // namespace

void Get_DownloadStatus(std::int32_t& active, std::int32_t& failed, std::int16_t& copying) {
    std::int32_t activeCount = 0;
    std::int32_t failedCount = 0;
    std::int16_t copyingFlag = 0;

    // The child list holds only what this scan finds.
    gChildLast = -1;
    gChildList.clear();

    // The desktop always shows a caption (this program's own window), so a
    // snapshot without one was not read.
    bool unread = !Snap_TopWindows();
    bool anyCaption = false;
    const std::int32_t last = gWinLast;
    for (std::int32_t i = 0; i <= last; ++i) {
        const WindowEntry& entry = gWinList[static_cast<std::size_t>(i)];
        anyCaption = anyCaption || !entry.Caption.empty();
        if (Contains(entry.Caption, kErrorBoxCaption) &&
            Any_ChildContains(entry.hWnd, kTimedOut, kConnectionReset) == ChildTexts::Found)
            ++failedCount;
        if (Contains(entry.Caption, kDownloadCaption)) {
            const ChildTexts saving = Any_ChildContains(entry.hWnd, kSaving, Text());
            if (saving == ChildTexts::Found) ++activeCount;
            unread = unread || saving == ChildTexts::NotListed;
        }
        if (Contains(entry.Caption, kProgressCaption)) ++activeCount;
        if (Contains(entry.Caption, kCopyCaption)) copyingFlag = kTrue;
    }
    if (unread || !anyCaption) copyingFlag = kTrue;

    active = activeCount;
    failed = failedCount;
    copying = copyingFlag;
}
