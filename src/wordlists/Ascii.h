// The program's one notion of letters and case. Words are bytes; a letter
// is a to z; lowercasing changes A to Z only and leaves every other byte
// (digits, spaces, bytes of 128 and above) as it is.
#pragma once

#include <algorithm>
#include <span>
#include <string_view>

namespace lexigrove::ascii {

constexpr bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }

constexpr bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

constexpr char ToLower(char c) { return IsCapital(c) ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `word` is letters a to z only (an empty word is).
constexpr bool AllLetters(std::string_view word) { return std::all_of(word.begin(), word.end(), IsLetter); }

constexpr bool HasCapitals(std::string_view text) { return std::any_of(text.begin(), text.end(), IsCapital); }

inline void Lowercase(std::span<char> text) {
    for (char& c : text) c = ToLower(c);
}

}  // namespace lexigrove::ascii
