// The fault injector: a library that tools/faultlaunch.cpp loads into the
// program while it is still suspended, before its first instruction. At load
// it points the program's own imports (import_table.h) at wrappers that count
// each call and fail the chosen function the way Windows fails it
// (tools/hook/fault_table.h): its failure value, its last error or errno.
// The program's import of GetProcAddress is wrapped too, so that a function
// it finds at run time (timeGetTime, SetThreadExecutionState,
// SetDefaultDllDirectories) gets a wrapper as well.
//
// Configured by the environment the launcher passes on:
//   PELLORY_FAULT          the function to fail, or "census" to fail nothing
//                          and note which functions are called, and when
//   PELLORY_FAULT_MODE     nth:N   its Nth call fails, no other
//                          from:N  every call from the Nth on fails
//                          from:poll  every call from the first poll on fails
//   PELLORY_FAULT_JOURNAL  a file (Windows path) the library appends to:
//                          "attached", "poll" when the first poll begins and
//                          "poll over" when it has returned (a tick that ends
//                          the watch never does),
//                          "call start|poll NAME" for each function's first
//                          call before and from the first poll (census), and
//                          "fail NAME N" for a failed call (the first ten).
// The first poll is the first WM_TIMER the program dispatches (through
// DispatchMessageW or IsDialogMessageW) for the timer it set with a 5000 ms
// period (tmrPellory).
//
// Only the x86-64 program: one calling convention, so one wrapper shape
// (each wrapper passes sixteen register-sized arguments on, which the
// function called takes what it needs of). The 32-bit library loads and does
// nothing but note that in its journal.
#include <windows.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "tools/hook/fault_table.h"
#include "tools/hook/import_table.h"

namespace {

HANDLE gJournal = INVALID_HANDLE_VALUE;

// Writes one line to the journal; keeps the thread's last error.
__attribute__((format(printf, 1, 2))) void Note(const char* format, ...) {
    if (gJournal == INVALID_HANDLE_VALUE) return;
    const DWORD error = GetLastError();
    char line[256];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    DWORD written = 0;
    if (length > 0) WriteFile(gJournal, line, DWORD(length), &written, nullptr);
    SetLastError(error);
}

void OpenJournal() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"PELLORY_FAULT_JOURNAL", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    gJournal = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

#ifdef _WIN64

namespace {

using Arg = ULONG_PTR;
using Forward = Arg(WINAPI*)(Arg, Arg, Arg, Arg, Arg, Arg, Arg, Arg, Arg, Arg, Arg, Arg, Arg, Arg, Arg, Arg);

enum class Mode { Census, Nth, From, FromPoll };

struct Slot {
    const FaultEntry* entry;
    Forward original;
    volatile LONG calls;
    volatile LONG seen[2];  // a first call noted before / from the first poll
};

constexpr int kSlots = 256;
Slot gSlots[kSlots];
volatile LONG gSlotCount = 0;

Mode gMode = Mode::Census;
const FaultEntry* gTarget = nullptr;
long gN = 1;
volatile LONG gPoll = 0;  // 1 from the first poll on
volatile LONG gFailed = 0;
UINT_PTR gPollTimer = 0;
HWND gPollWindow = nullptr;
int* (*gErrno)() = nullptr;

const FaultEntry* Find(const char* name) {
    for (const FaultEntry& e : kFaultTable)
        if (std::strcmp(e.name, name) == 0) return &e;
    return nullptr;
}

// Watches the program's calls for its 5000 ms timer and for the first
// message of that timer handed to its window; true for that message.
bool FirstPoll(const FaultEntry& e, const Arg* args) {
    if (e.name[0] == 'S' && std::strcmp(e.name, "SetTimer") == 0 && args[2] == 5000) {
        gPollWindow = reinterpret_cast<HWND>(args[0]);
        gPollTimer = UINT_PTR(args[1]);
    }
    // The program's loop hands its form's messages to IsDialogMessageW, the
    // others to DispatchMessageW.
    const bool dispatch = std::strcmp(e.name, "DispatchMessageW") == 0;
    const Arg message = dispatch ? args[0] : std::strcmp(e.name, "IsDialogMessageW") == 0 ? args[1] : 0;
    if (message == 0 || gPollTimer == 0) return false;
    const auto* msg = reinterpret_cast<const MSG*>(message);
    if (msg->message != WM_TIMER || msg->wParam != gPollTimer || msg->hwnd != gPollWindow) return false;
    if (InterlockedExchange(&gPoll, 1) != 0) return false;
    Note("poll\r\n");
    return true;
}

// The part of every wrapper that is not its shape: counts the call, watches
// for the first poll, and says whether this call fails (with `result`).
bool Intercept(int index, const Arg* args, Arg* result, bool* firstPoll) {
    Slot& slot = gSlots[index];
    const FaultEntry& e = *slot.entry;
    *firstPoll = FirstPoll(e, args);
    const long n = InterlockedIncrement(&slot.calls);
    const LONG phase = gPoll;
    if (gMode == Mode::Census && InterlockedExchange(&slot.seen[phase], 1) == 0)
        Note("call %s %s\r\n", phase ? "poll" : "start", e.name);
    if (&e != gTarget || e.kind != FaultKind::Fails) return false;
    const bool fail =
        (gMode == Mode::Nth && n == gN) || (gMode == Mode::From && n >= gN) || (gMode == Mode::FromPoll && phase == 1);
    if (!fail) return false;
    if (InterlockedIncrement(&gFailed) <= 10) Note("fail %s %ld\r\n", e.name, n);
    if (e.out >= 0 && args[e.out]) *reinterpret_cast<void**>(args[e.out]) = nullptr;
    if (std::strcmp(e.dll, "msvcrt") == 0) {
        if (gErrno) *gErrno() = int(e.error);
    } else if (e.error) {
        SetLastError(e.error);
    }
    *result = e.value;
    return true;
}

template <int I>
Arg WINAPI Wrapper(Arg a0, Arg a1, Arg a2, Arg a3, Arg a4, Arg a5, Arg a6, Arg a7, Arg a8, Arg a9, Arg a10, Arg a11,
                   Arg a12, Arg a13, Arg a14, Arg a15) {
    const Arg args[5] = {a0, a1, a2, a3, a4};
    Arg result = 0;
    bool firstPoll = false;
    if (Intercept(I, args, &result, &firstPoll)) return result;
    result = gSlots[I].original(a0, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15);
    // A tick that ends the watch never returns here.
    if (firstPoll) Note("poll over\r\n");
    return result;
}

template <std::size_t... I>
void FillWrappers(FARPROC* table, std::index_sequence<I...> /*indexes*/) {
    ((table[I] = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Wrapper<int(I)>))), ...);
}

FARPROC gWrappers[kSlots];

// A new slot for `entry` with its original; -1 when all are taken.
int NewSlot(const FaultEntry* entry, FARPROC original) {
    const LONG index = InterlockedIncrement(&gSlotCount) - 1;
    if (index >= kSlots) return -1;
    gSlots[index].entry = entry;
    gSlots[index].original = reinterpret_cast<Forward>(reinterpret_cast<void*>(original));
    return int(index);
}

// The slot that wraps GetProcAddress itself, and those made for the names the
// program looked up.
int gGetProcAddressSlot = -1;

int SlotFor(const FaultEntry* entry, FARPROC original) {
    const LONG count = gSlotCount < kSlots ? gSlotCount : kSlots;
    for (LONG k = 0; k < count; ++k)
        if (gSlots[k].entry == entry &&
            gSlots[k].original == reinterpret_cast<Forward>(reinterpret_cast<void*>(original)))
            return int(k);
    return NewSlot(entry, original);
}

// Whether the calls of `entry` need a wrapper in this run.
bool Wanted(const FaultEntry* entry) {
    if (!entry || entry->kind == FaultKind::NotWrapped) return false;
    if (gMode == Mode::Census || entry == gTarget) return true;
    // The first poll is seen through these.
    return std::strcmp(entry->name, "SetTimer") == 0 || std::strcmp(entry->name, "DispatchMessageW") == 0 ||
           std::strcmp(entry->name, "IsDialogMessageW") == 0;
}

FARPROC WINAPI LookUp(HMODULE module, LPCSTR name) {
    const Arg args[5] = {Arg(module), Arg(name), 0, 0, 0};
    Arg result = 0;
    bool firstPoll = false;
    if (gGetProcAddressSlot >= 0 && Intercept(gGetProcAddressSlot, args, &result, &firstPoll))
        return reinterpret_cast<FARPROC>(result);
    const FARPROC found = GetProcAddress(module, name);
    if (!found || !HIWORD(Arg(name))) return found;
    const FaultEntry* entry = Find(name);
    if (gMode == Mode::Census) Note("lookup %s%s\r\n", name, entry ? "" : " (not in the table)");
    if (!Wanted(entry)) return found;
    const int slot = SlotFor(entry, found);
    return slot < 0 ? found : gWrappers[slot];
}

void Attach() {
    FillWrappers(gWrappers, std::make_index_sequence<kSlots>());
    gErrno = reinterpret_cast<int* (*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"msvcrt.dll"), "_errno")));
    char function[64] = "census";
    char mode[32] = "nth:1";
    GetEnvironmentVariableA("PELLORY_FAULT", function, sizeof function);
    GetEnvironmentVariableA("PELLORY_FAULT_MODE", mode, sizeof mode);
    if (std::strcmp(function, "census") != 0) {
        gTarget = Find(function);
        if (!gTarget) {
            Note("unknown function %s\r\n", function);
            return;
        }
        if (std::strncmp(mode, "nth:", 4) == 0) {
            gMode = Mode::Nth;
            gN = std::atol(mode + 4);
        } else if (std::strcmp(mode, "from:poll") == 0) {
            gMode = Mode::FromPoll;
        } else if (std::strncmp(mode, "from:", 5) == 0) {
            gMode = Mode::From;
            gN = std::atol(mode + 5);
        } else {
            Note("unknown mode %s\r\n", mode);
            return;
        }
        if (gN < 1) gN = 1;
    }
    ForEachImport([](const char* /*dll*/, const char* name, decltype(IMAGE_THUNK_DATA::u1.Function)* address) {
        const FaultEntry* entry = Find(name);
        if (!entry && gMode == Mode::Census) Note("import %s not in the table\r\n", name);
        const auto original = reinterpret_cast<FARPROC>(*address);
        if (entry && std::strcmp(name, "GetProcAddress") == 0) {
            gGetProcAddressSlot = NewSlot(entry, original);
            ReplaceSlot(address, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&LookUp)));
            return;
        }
        if (!Wanted(entry)) return;
        const int slot = SlotFor(entry, original);
        if (slot >= 0) ReplaceSlot(address, gWrappers[slot]);
    });
    Note("attached %s %s\r\n", function, mode);
}

}  // namespace

#else

namespace {
void Attach() { Note("attached: the injector drives the x86-64 program only; nothing is wrapped\r\n"); }
}  // namespace

#endif

BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        OpenJournal();
        Attach();
    }
    return TRUE;
}
