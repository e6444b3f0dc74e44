// The one place where the native platform turns errno into a run-time error.
#pragma once
#include <cstdint>

std::int32_t ErrorNumberFromErrno(int error);
