#include "platform/win32/desktop_win32.h"

#include <windows.h>

#include <exception>

namespace {

// What the system hands back to the trampoline: our callback, its value, and
// an error raised inside it.
struct EnumContext {
    EnumCallback callback;
    AppValue value;
    std::exception_ptr error;
};

// No C++ exception may unwind through user32's frames, so an error raised in
// the callback stops the enumeration here and is raised again once the
// system call has returned.
BOOL CALLBACK Trampoline(HWND window, LPARAM context) {
    auto* ctx = reinterpret_cast<EnumContext*>(context);
    try {
        return ctx->callback(reinterpret_cast<WindowHandle>(window), ctx->value) != 0 ? TRUE : FALSE;
    } catch (...) {
        ctx->error = std::current_exception();
        return FALSE;
    }
}

std::int32_t Finish(BOOL result, const EnumContext& ctx) {
    if (ctx.error) std::rethrow_exception(ctx.error);
    return result;
}

}  // namespace

std::int32_t Win32Desktop::EnumWindows(EnumCallback callback, AppValue value) {
    EnumContext ctx{callback, value, nullptr};
    const BOOL result = ::EnumWindows(Trampoline, reinterpret_cast<LPARAM>(&ctx));
    return Finish(result, ctx);
}

// FALSE also answers a window without children, or one gone meanwhile: only
// an error the system reports of its own is a failure to list them.
std::int32_t Win32Desktop::EnumChildWindows(WindowHandle parent, EnumCallback callback, AppValue value) {
    EnumContext ctx{callback, value, nullptr};
    SetLastError(ERROR_SUCCESS);
    const BOOL result = ::EnumChildWindows(reinterpret_cast<HWND>(parent), Trampoline, reinterpret_cast<LPARAM>(&ctx));
    const DWORD error = result != FALSE ? ERROR_SUCCESS : GetLastError();
    return Finish(error == ERROR_SUCCESS || error == ERROR_INVALID_WINDOW_HANDLE ? TRUE : FALSE, ctx);
}

std::int32_t Win32Desktop::GetWindowTextA(WindowHandle window, char* buffer, std::int32_t size) {
    return ::GetWindowTextA(reinterpret_cast<HWND>(window), buffer, size);
}
