// The one error type of the program: a run-time error number with its
// description, raised by the platform layer and caught by the procedures
// that show the "number:description" box.
#pragma once
#include <cstdint>
#include <exception>
#include "platform/text.h"

namespace err {
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t OutOfMemory = 7;
constexpr std::int32_t DllLoad = 48;
constexpr std::int32_t BadFileName = 52;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t DeviceIO = 57;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t PermissionDenied = 70;
constexpr std::int32_t PathFileAccess = 75;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t Internal = 51;
constexpr std::int32_t CantCreateObject = 429;
constexpr std::int32_t NoSuchMember = 438;
constexpr std::int32_t Automation = 440;
constexpr std::int32_t DllEntryNotFound = 453;
}  // namespace err

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(std::int32_t number);
    std::int32_t Number() const { return number_; }
    const Text& Description() const { return description_; }
    const char* what() const noexcept override { return "RuntimeError"; }

private:
    std::int32_t number_;
    Text description_;
};

// The Japanese description of a run-time error number.
Text ErrorDescription(std::int32_t number);

// "number:description", the text of every error box.
Text ErrorBoxText(std::int32_t number, const Text& description);

// The exception being handled as a run-time error: RuntimeError as it is,
// std::bad_alloc as error 7, any other std::exception as error 51. Call only
// from inside a `catch (const std::exception&)` block. The program's end is
// deliberately no std::exception, so that error handlers never catch it.
RuntimeError CurrentError();

// Runs one step of a procedure that ignores errors: a failing step is
// skipped and the caller goes on with the next.
template <class Step>
void IgnoreErrors(Step step) {
    try {
        step();
    } catch (const std::exception&) {}
}
