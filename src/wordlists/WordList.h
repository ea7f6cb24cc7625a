// A word list in memory: the entries of one stored list, in stored order.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

namespace lexigrove {

// The entries are the lines of one text: scanning until a NUL or the end,
// each line ends at the first CR or LF, after which one CR and then one LF
// are skipped if present (so CR LF, a lone CR and a lone LF each end a line,
// LF CR ends two). A final line without a terminator is an entry; a trailing
// terminator adds no empty entry; an empty line between two terminators is
// an empty entry.
//
// The text stays in one piece and entries are read from it in order, so a
// list costs no more memory than its text. Lists of the embedded data are
// read in place; any other text is copied and owned.
class WordList {
public:
    class Iterator;

    WordList() = default;
    WordList(const WordList& other) { *this = other; }
    WordList& operator=(const WordList& other);
    WordList(WordList&& other) noexcept { *this = std::move(other); }
    WordList& operator=(WordList&& other) noexcept;

    // Replaces the entries with the lines of `text`, which the list keeps.
    void Split(std::string text);

    // Replaces the entries with the lines of `text`, read in place: the bytes
    // must outlive the list (the program's embedded data do).
    void SplitInPlace(std::string_view text);

    // The same for a list of SortedWords() (which holds no NUL), without
    // reading it through: a list is loaded for every Wild and Exact search.
    void SplitSortedWordsInPlace(std::string_view text);

    // Counted on first use: walking the list does not need it.
    std::size_t size() const;
    bool empty() const { return text_.empty(); }

    Iterator begin() const;
    Iterator end() const;

    // The text the entries are read from, up to its first NUL.
    std::string_view Text() const { return text_; }

    // The entries from the line that starts at byte `offset` of Text() on.
    Iterator From(std::size_t offset) const;

    // Whether the entries are known to be distinct words of letters a-z in
    // ascending byte order, each line ended by CR LF, as the build checks
    // the embedded lists to be; a search may then look a word up rather
    // than read every entry.
    bool SortedWords() const { return sortedWords_; }

private:
    static constexpr std::size_t kUncounted = static_cast<std::size_t>(-1);

    std::string owned_;
    std::string_view text_;
    mutable std::size_t size_ = kUncounted;
    bool sortedWords_ = false;
};

// Walks the entries in stored order.
class WordList::Iterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::string_view*;
    using reference = const std::string_view&;

    Iterator() = default;
    reference operator*() const { return entry_; }
    pointer operator->() const { return &entry_; }
    Iterator& operator++() {
        Advance();
        return *this;
    }
    Iterator operator++(int) {
        Iterator old = *this;
        Advance();
        return old;
    }
    bool operator==(const Iterator& other) const { return next_ == other.next_ && atEnd_ == other.atEnd_; }

private:
    friend class WordList;
    Iterator(const char* next, const char* last) : next_(next), last_(last) { Advance(); }
    void Advance();

    const char* next_ = nullptr;  // where the entry after this one starts
    const char* last_ = nullptr;  // end of the text
    std::string_view entry_;
    bool atEnd_ = true;
};

namespace detail {

inline bool IsTerminator(char c) { return c == '\r' || c == '\n'; }

// The first CR or LF in [p, last), or last. Eight bytes at a time: both
// terminators sort below every letter, so a word of eight letters is passed
// with one test.
inline const char* FindTerminator(const char* p, const char* last) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    while (last - p >= 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, p, 8);
        // High bit set in each byte below 14 (and possibly in bytes after
        // the first such one, which are not looked at).
        const std::uint64_t low = (chunk - kOnes * 14) & ~chunk & kHighs;
        if (low == 0) {
            p += 8;
            continue;
        }
        // The first byte below 14, at the lowest address.
        if constexpr (std::endian::native == std::endian::little)
            p += std::countr_zero(low) / 8;
        else
            p += std::countl_zero(low) / 8;
        if (IsTerminator(*p)) return p;
        ++p;
    }
    while (p != last && !IsTerminator(*p)) ++p;
    return p;
}

}  // namespace detail

inline void WordList::Iterator::Advance() {
    if (next_ == last_) {
        atEnd_ = true;
        entry_ = {};
        return;
    }
    atEnd_ = false;
    const char* p = detail::FindTerminator(next_, last_);
    entry_ = std::string_view(next_, static_cast<std::size_t>(p - next_));
    if (p != last_ && *p == '\r') ++p;
    if (p != last_ && *p == '\n') ++p;
    next_ = p;
}

// The embedded list of `length` (2 to 15), read in place; empty when the
// program carries no such list.
WordList LoadWordList(int length);

}  // namespace lexigrove
