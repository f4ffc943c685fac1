#pragma once
// Length-prefixed string: one length byte (0..255) followed by that many 8-bit characters.
// Prompts, messages, mode names, font names and paths travel in this form.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class LengthPrefixedString {
public:
    static constexpr int kMaxLength = 255;

    LengthPrefixedString() { bytes_[0] = 0; }
    // Longer text is cut at 255 characters, as a one-byte length demands.
    LengthPrefixedString(std::string_view text) { Assign(text); }  // NOLINT: implicit on purpose
    LengthPrefixedString(const char* text) : LengthPrefixedString(std::string_view(text)) {}  // NOLINT
    LengthPrefixedString(const std::string& text) : LengthPrefixedString(std::string_view(text)) {}  // NOLINT

    void Assign(std::string_view text) {
        size_t n = text.size() > kMaxLength ? kMaxLength : text.size();
        bytes_[0] = static_cast<uint8_t>(n);
        if (n != 0) std::memcpy(bytes_ + 1, text.data(), n);
    }
    // Appends one character; returns false (and changes nothing) when the string is full.
    bool Append(char c) {
        if (bytes_[0] == kMaxLength) return false;
        bytes_[1 + bytes_[0]] = static_cast<uint8_t>(c);
        ++bytes_[0];
        return true;
    }

    uint8_t length() const { return bytes_[0]; }
    // 1-based, as the system counts positions in a string.
    char at(int position) const { return static_cast<char>(bytes_[position]); }
    const char* chars() const { return reinterpret_cast<const char*>(bytes_ + 1); }
    std::string_view view() const { return {chars(), length()}; }
    std::string str() const { return std::string(view()); }
    const uint8_t* raw() const { return bytes_; }

    friend bool operator==(const LengthPrefixedString& a, const LengthPrefixedString& b) {
        return a.view() == b.view();
    }

private:
    uint8_t bytes_[256];
};
