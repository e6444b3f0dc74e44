// Prints the resources of a built exe as Windows itself reads them, for the
// end-to-end tests:
//   resource_console version EXE   every version string, the fixed versions, the translations
//   resource_console icon EXE      icon group 1's entries, then icon 1 drawn by the system,
//                                  one text row per pixel row ("." where transparent)
//   resource_console manifest EXE  the manifest (RT_MANIFEST 1) as stored
//   resource_console window-icon CAPTION
//                                  the class icon of the window so captioned, drawn as above
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tools/hook/hook_thread.h"
#include "tools/icon_pixels.h"

namespace {

std::string Utf8(const wchar_t* text, size_t length) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), size, nullptr, nullptr);
    return out;
}

void PrintFixedVersion(const char* name, DWORD high, DWORD low) {
    std::printf("%s %u.%u.%u.%u\n", name, unsigned{HIWORD(high)}, unsigned{LOWORD(high)}, unsigned{HIWORD(low)},
                unsigned{LOWORD(low)});
}

size_t Align4(size_t offset) { return (offset + 3) & ~size_t{3}; }

// One node of the version block: length, value length, type (1 text, 0 binary),
// key, padding, value, padding, children. Offsets are from the block's start,
// to which the 32-bit alignment refers.
void PrintVersionNode(const BYTE* block, size_t offset, const std::string& parent) {
    const WORD* head = reinterpret_cast<const WORD*>(block + offset);
    const size_t end = offset + head[0];
    const WORD valueLength = head[1];
    const bool text = head[2] == 1;
    const auto* key = reinterpret_cast<const wchar_t*>(block + offset + 6);
    const size_t keyLength = wcslen(key);
    const std::string path = parent + Utf8(key, keyLength);
    size_t value = Align4(offset + 6 + (keyLength + 1) * 2);
    size_t children = Align4(value + (text ? valueLength * 2 : valueLength));

    if (parent.empty() && valueLength >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* info = reinterpret_cast<const VS_FIXEDFILEINFO*>(block + value);
        PrintFixedVersion("FILEVERSION", info->dwFileVersionMS, info->dwFileVersionLS);
        PrintFixedVersion("PRODUCTVERSION", info->dwProductVersionMS, info->dwProductVersionLS);
    } else if (children >= end && text) {
        const auto* chars = reinterpret_cast<const wchar_t*>(block + value);
        std::printf("%s=%s\n", path.c_str(), Utf8(chars, wcsnlen(chars, valueLength)).c_str());
    } else if (children >= end) {
        std::printf("%s=", path.c_str());
        for (size_t i = 0; i + 1 < valueLength; i += 2)
            std::printf(" %04X", *reinterpret_cast<const WORD*>(block + value + i));
        std::printf("\n");
    }
    while (children < end) {
        const WORD childLength = *reinterpret_cast<const WORD*>(block + children);
        if (childLength == 0) break;
        PrintVersionNode(block, children, parent.empty() ? std::string("/") : path + "/");
        children = Align4(children + childLength);
    }
}

int PrintVersion(const wchar_t* exe) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(exe, &ignored);
    if (size == 0) return std::printf("no version resource\n"), 1;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(exe, 0, size, block.data())) return std::printf("cannot read version\n"), 1;
    PrintVersionNode(block.data(), 0, "");
    return 0;
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

const BYTE* Resource(HMODULE module, LPCWSTR name, LPCWSTR type, DWORD* size) {
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return nullptr;
    *size = SizeofResource(module, found);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

// Prints an icon drawn at 32 x 32 on the two backgrounds, one text row per pixel row.
void PrintPixels(const DWORD* first, const DWORD* second) {
    for (int y = 0; y < kIconSide; ++y) {
        for (int x = 0; x < kIconSide; ++x) {
            const DWORD a = first[y * kIconSide + x] & 0xFFFFFF;
            const DWORD b = second[y * kIconSide + x] & 0xFFFFFF;
            if (a == kIconUnder[0] && b == kIconUnder[1])
                std::printf(x ? " ." : ".");
            else if (a == b)
                std::printf(x ? " %06lx" : "%06lx", static_cast<unsigned long>(a));
            else
                std::printf(x ? " ?" : "?");
        }
        std::printf("\n");
    }
}

int PrintIcon(HMODULE module) {
    DWORD size = 0;
    const BYTE* group = Resource(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14), &size);  // RT_GROUP_ICON
    if (!group) return std::printf("no icon group 1\n"), 1;
    const WORD count = reinterpret_cast<const WORD*>(group)[2];
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(group + 6);
    for (WORD i = 0; i < count; ++i) {
        const GroupIconEntry& e = entries[i];
        DWORD imageSize = 0;
        const auto* image = reinterpret_cast<const BITMAPINFOHEADER*>(
            Resource(module, MAKEINTRESOURCEW(e.id), MAKEINTRESOURCEW(3), &imageSize));  // RT_ICON
        std::printf("entry %ux%u colours=%u bits=%u image bits=%d\n", e.width, e.height, e.colours, e.bits,
                    image ? image->biBitCount : -1);
    }
    auto* icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, kIconSide, kIconSide, 0));
    if (!icon) return std::printf("icon 1 does not load\n"), 1;
    PrintPixels(DrawIcon(icon, kIconUnder[0]).data(), DrawIcon(icon, kIconUnder[1]).data());
    DestroyIcon(icon);
    return 0;
}

// The icon a window's class gives its caption bar and the taskbar. Another
// process gets no class icon, so window_icon_hook.dll (beside this program)
// is hooked onto the window's thread: the system loads it into the window's
// process, where it draws the icon into a shared block on our request.
int PrintWindowIcon(const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    if (!window) return std::printf("no window captioned so\n"), 1;
    const std::wstring name = kWindowIconBlock + std::to_wstring(GetCurrentProcessId());
    HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(WindowIconBlock), name.c_str());
    auto* block = static_cast<WindowIconBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(WindowIconBlock)));
    if (!block || !SendThroughHook(window, L"window_icon_hook.dll", "WindowIconHook",
                                   RegisterWindowMessageW(kWindowIconMessage), GetCurrentProcessId()))
        return std::printf("cannot hook window_icon_hook.dll onto the window's thread\n"), 1;
    const LONG state = block->state;
    if (state == WindowIconBlock::kDrawn)
        PrintPixels(block->pixels[0], block->pixels[1]);
    else if (state == WindowIconBlock::kNoClassIcon)
        std::printf("the window has no class icon\n");
    else
        std::printf("the window's process did not answer\n");
    UnmapViewOfFile(block);
    CloseHandle(mapping);
    return state == WindowIconBlock::kDrawn ? 0 : 1;
}

int PrintManifest(HMODULE module) {
    DWORD size = 0;
    const BYTE* text = Resource(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24), &size);  // RT_MANIFEST
    if (!text) return std::printf("no manifest 1\n"), 1;
    std::fwrite(text, 1, size, stdout);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return std::printf("usage: resource_console version|icon|manifest EXE | window-icon CAPTION\n"), 2;
    const std::wstring what = argv[1];
    if (what == L"version") return PrintVersion(argv[2]);
    if (what == L"window-icon") return PrintWindowIcon(argv[2]);
    HMODULE module = LoadLibraryExW(argv[2], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return std::printf("cannot open %s\n", Utf8(argv[2], wcslen(argv[2])).c_str()), 1;
    int result = what == L"icon" ? PrintIcon(module) : what == L"manifest" ? PrintManifest(module) : 2;
    FreeLibrary(module);
    return result;
}
