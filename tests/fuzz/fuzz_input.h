// What the fuzz targets share: reading a fuzzer's input field by field, and
// a check that stops the run with a message, so a broken rule counts as a
// finding just like a crash.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// The input, taken from the front; once it runs out every field reads as 0.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t Bytes(int count) {  // little-endian, up to 4
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) value |= std::uint32_t(Byte()) << (8 * i);
        return value;
    }
    std::string Take(std::size_t count) {
        if (count > size_ - at_) count = size_ - at_;
        std::string bytes(reinterpret_cast<const char*>(data_ + at_), count);
        at_ += count;
        return bytes;
    }
    std::string Rest() { return Take(size_ - at_); }
    bool Empty() const { return at_ == size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};
