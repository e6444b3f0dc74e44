// An icon drawn by the system at 32 x 32 on two plain backgrounds: a pixel
// that shows each background is transparent. Shared by resource_console and
// the hook library that draws a window's class icon inside the window's own
// process.
#pragma once
#include <windows.h>

#include <algorithm>
#include <vector>

constexpr int kIconSide = 32;
constexpr DWORD kIconUnder[2] = {0x00123456, 0x00ABCDEF};

// Draws the icon on a plain background and returns its 32-bit pixels, top row first.
inline std::vector<DWORD> DrawIcon(HICON icon, DWORD background) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kIconSide;
    info.bmiHeader.biHeight = -kIconSide;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::vector<DWORD> pixels(std::size_t{kIconSide} * kIconSide, background);
    std::copy(pixels.begin(), pixels.end(), static_cast<DWORD*>(bits));
    DrawIconEx(dc, 0, 0, icon, kIconSide, kIconSide, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::copy_n(static_cast<DWORD*>(bits), pixels.size(), pixels.begin());
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// What the hook library leaves for resource_console in a shared memory block
// named by kWindowIconBlock and the requesting process's id.
struct WindowIconBlock {
    enum : LONG { kUnanswered = 0, kDrawn = 1, kNoClassIcon = 2 };
    LONG state;
    DWORD pixels[2][kIconSide * kIconSide];  // on kIconUnder[0], then on kIconUnder[1]
};
constexpr wchar_t kWindowIconBlock[] = L"Local\\PelloryWindowIcon.";
// Sent to the window with the requesting process's id as wParam.
constexpr wchar_t kWindowIconMessage[] = L"PelloryWindowIconRequest";
