// Pixels read off the screen and drawn here, to compare the two.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

namespace driver {

// A square memory picture to draw on and read pixels from.
class Picture {
public:
    explicit Picture(int size);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    int Differences(const Picture& other) const;

private:
    int size_;
    HDC dc_;
    HBITMAP bitmap_;
};

// A control's pixels as the screen shows them, row by row.
std::vector<COLORREF> Capture(HWND control, int& width, int& height);

// The colours of a picture, most frequent first.
std::vector<std::pair<COLORREF, int>> Histogram(const std::vector<COLORREF>& pixels);

}  // namespace driver
