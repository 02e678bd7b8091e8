#pragma once
// Building and reading payloads field by field in a sensor's byte order.

#include "link/frame.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vk::sim {

class PayloadWriter {
public:
    explicit PayloadWriter(CheckMethod method) : method_(method) {}

    PayloadWriter& Byte(std::uint8_t value) {
        bytes_.push_back(value);
        return *this;
    }
    // A 16-bit field in the sensor's byte order.
    PayloadWriter& Word(std::uint16_t value) {
        std::uint8_t two[2];
        PutWord(two, value, method_);
        return Raw(two, 2);
    }
    // A 16-bit field low byte first whatever the method (the scan buffer's samples).
    PayloadWriter& WordLowFirst(std::uint16_t value) {
        return Byte(static_cast<std::uint8_t>(value)).Byte(static_cast<std::uint8_t>(value >> 8));
    }
    PayloadWriter& Raw(const std::uint8_t* data, std::size_t length) {
        bytes_.insert(bytes_.end(), data, data + length);
        return *this;
    }
    // `text` cut or NUL-padded to exactly `width` bytes.
    PayloadWriter& Text(const std::string& text, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            Byte(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
        return *this;
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    CheckMethod method_;
    std::vector<std::uint8_t> bytes_;
};

// Reads fields of a request whose length the caller has checked.
class PayloadReader {
public:
    PayloadReader(const std::uint8_t* data, CheckMethod method) : data_(data), method_(method) {}

    std::uint8_t Byte(std::size_t offset) const { return data_[offset]; }
    std::uint16_t Word(std::size_t offset) const { return GetWord(data_ + offset, method_); }
    std::uint16_t WordLowFirst(std::size_t offset) const {
        return static_cast<std::uint16_t>(data_[offset] | data_[offset + 1] << 8);
    }
    // Up to `width` bytes, ending at the first NUL.
    std::string Text(std::size_t offset, std::size_t width) const {
        std::string text;
        for (std::size_t i = 0; i < width && data_[offset + i] != 0; ++i)
            text.push_back(static_cast<char>(data_[offset + i]));
        return text;
    }

private:
    const std::uint8_t* data_;
    CheckMethod method_;
};

} // namespace vk::sim
