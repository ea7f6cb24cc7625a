// A word list read from a file (--words FILE), in the shape of the built-in
// lists, so that every search gives on it the results it would give on a
// built-in list holding the same words.
#pragma once

#include <array>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

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
    // over; a leading UTF-8 byte-order mark is no part of the first word;
    // the first NUL ends the reading with an error. Throws WordFileError.
    //
    // The file is read into memory once, and the words put in order where
    // they stand, so that they take no more than the file's size.
    //
    // `piece` is the most bytes read at once, at least 17: a test's way to
    // break the file between reads anywhere.
    explicit WordFile(const std::string& path, std::size_t piece = std::size_t{1} << 16);
    // The words are read in place from this object.
    WordFile(const WordFile&) = delete;
    WordFile& operator=(const WordFile&) = delete;

    // The words of `length` (2 to 14), or of 15 letters and more (15), in
    // ascending byte order, each followed by LF; read in place from this
    // object, which must outlive it.
    WordList List(int length) const;

    std::size_t Skipped() const { return skipped_; }

private:
    class Builder;

    struct Free {
        void operator()(char* bytes) const { std::free(bytes); }
    };
    std::unique_ptr<char, Free> words_;  // the lists one after another
    // Each list of 2 to 15 letters, put in order where it stands when a
    // search first asks for it.
    mutable std::array<std::string_view, 16> lists_{};
    mutable std::array<bool, 16> sorted_{};
    std::size_t skipped_ = 0;
};

// "1,234": a count with a comma every three digits.
std::string WithThousands(std::size_t n);

}  // namespace lexigrove
