// The length options and the word lists they stand for.
#pragma once

#include <cstddef>

namespace lexigrove {

// Number of length options: "2 Letter" .. "14 Letter" and "15+ Letter".
inline constexpr int kLengthOptionCount = 14;

// Word length of length option `position` (0 to kLengthOptionCount - 1),
// which is also the stored list it searches: the last option stands for 15
// letters and more.
constexpr int OptionWordLength(int position) { return position + 2; }

// The length option of words of `length` letters (2 or more).
constexpr int OptionForWordLength(int length) {
    return (length < OptionWordLength(kLengthOptionCount - 1) ? length : OptionWordLength(kLengthOptionCount - 1)) - 2;
}

// The stored list that Wild and Exact search for a text of `length` bytes.
constexpr int ListForTextLength(std::size_t length) { return length > 15 ? 15 : static_cast<int>(length); }

}  // namespace lexigrove
