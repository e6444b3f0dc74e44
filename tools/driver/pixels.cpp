#include "tools/driver/pixels.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "tools/driver/commands.h"
#include "tools/driver/console.h"
#include "tools/driver/window_queries.h"

namespace driver {

using std::wstring;

Picture::Picture(int size) : size_(size) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    SelectObject(dc_, bitmap_);
}

Picture::~Picture() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

int Picture::Differences(const Picture& other) const {
    int count = 0;
    for (int y = 0; y < size_; ++y)
        for (int x = 0; x < size_; ++x)
            if (At(x, y) != other.At(x, y)) ++count;
    return count;
}

std::vector<COLORREF> Capture(HWND control, int& width, int& height) {
    RECT r{};
    GetWindowRect(control, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<std::pair<COLORREF, int>> Histogram(const std::vector<COLORREF>& pixels) {
    std::vector<std::pair<COLORREF, int>> counts;
    for (COLORREF pixel : pixels) {
        auto it = counts.begin();
        while (it != counts.end() && it->first != pixel) ++it;
        if (it == counts.end())
            counts.emplace_back(pixel, 1);
        else
            ++it->second;
    }
    std::stable_sort(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return counts;
}

namespace {

wstring Hex6(COLORREF color) {
    wchar_t buffer[16];
    swprintf(buffer, 16, L"%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
    return buffer;
}

}  // namespace

int DpiCommand(const Request& /*request*/) {
    HDC screen = GetDC(nullptr);
    Print(L"dpi=" + Number(GetDeviceCaps(screen, LOGPIXELSX)));
    ReleaseDC(nullptr, screen);
    return 0;
}

// The most frequent colour of a label is its background, the next its text.
int InkCommand(const Request& request) {
    for (HWND child : Descendants(Window(request))) {
        int width = 0;
        int height = 0;
        const auto counts = Histogram(Capture(child, width, height));
        const wstring background = counts.empty() ? L"none" : Hex6(counts[0].first);
        const wstring ink = counts.size() < 2 ? L"none" : Hex6(counts[1].first);
        wstring line = L"ink=" + ink;
        line += L" background=" + background;
        line += L" text=" + Text(child);
        Print(line);
    }
    return 0;
}

}  // namespace driver
