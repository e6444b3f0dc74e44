// The one place where the Win32 platform turns a system error code
// (GetLastError) into a run-time error number.
#pragma once
#include <cstdint>

std::int32_t ErrorNumberFromLastError(std::uint32_t code);

// Raises the RuntimeError of the calling thread's last system error.
[[noreturn]] void RaiseLastError();
