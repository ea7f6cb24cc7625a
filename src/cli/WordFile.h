// A word list read from a file (--words FILE), in the shape of the built-in
// lists, so that every search gives on it the results it would give on a
// built-in list holding the same words.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "WordList.h"

namespace lexigrove {

// The file cannot be read, is not text, or holds no usable word.
class WordFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class WordFile {
public:
    // Reads one word a line (LF or CR LF). Capitals are lowercased; entries
    // that are then not letters a-z only, and one-letter entries, are
    // skipped and counted; duplicates are dropped; empty lines are passed
    // over. Throws WordFileError.
    explicit WordFile(const std::string& path);
    // The words are read in place from the file's text.
    WordFile(const WordFile&) = delete;
    WordFile& operator=(const WordFile&) = delete;

    // The words of `length` (2 to 14), or of 15 letters and more (15), in
    // ascending byte order, each followed by CR LF, as the built-in lists
    // are stored; read in place from this object, which must outlive it.
    WordList List(int length) const;

    std::size_t Skipped() const { return skipped_; }

private:
    std::string data_;  // the file, lowercased
    // The plain words by list, in file order, until the list is made.
    mutable std::array<std::vector<std::string_view>, 16> byList_;
    mutable std::array<std::optional<std::string>, 16> texts_;
    std::size_t skipped_ = 0;
};

// "1,234": a count with a comma every three digits.
std::string WithThousands(std::size_t n);

}  // namespace lexigrove
