// A word list in memory: the entries of one stored list, in stored order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lexigrove {

class WordList {
public:
    WordList() = default;

    // Replaces the entries with the lines of `text`: scanning until a NUL or
    // the end, each line ends at the first CR or LF, after which one CR and
    // then one LF are skipped if present. A final line without a terminator
    // is an entry; a trailing terminator adds no empty entry; an empty line
    // between two terminators is an empty entry.
    void Split(std::string text);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    std::string_view operator[](std::size_t i) const {
        const Entry& e = entries_[i];
        return {text_.data() + e.offset, e.length};
    }

private:
    struct Entry {
        std::uint32_t offset;
        std::uint32_t length;
    };
    // All entries live in one buffer; an entry is a slice of it.
    std::string text_;
    std::vector<Entry> entries_;
};

// Loads stored list `length` (2 to 15) and splits it.
WordList LoadWordList(int length);

}  // namespace lexigrove
