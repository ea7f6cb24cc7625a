// A word list in memory: the entries of one stored list, in stored order.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
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
    // `wordLength`, when given, is the length of every word, each followed
    // by CR LF or by LF alike.
    void SplitSortedWordsInPlace(std::string_view text, std::optional<std::size_t> wordLength = {});

    // Counted on first use: walking the list does not need it.
    std::size_t size() const;
    // The length of the longest entry, found on first use.
    std::size_t LongestEntry() const;
    bool empty() const { return text_.empty(); }

    Iterator begin() const;
    Iterator end() const;

    // The text the entries are read from, up to its first NUL.
    std::string_view Text() const { return text_; }

    // Whether the entries are known to be distinct words of letters a-z in
    // ascending byte order, each line ended by LF or CR LF, as the build checks
    // the embedded lists to be; a search may then look a word up rather
    // than read every entry.
    bool SortedWords() const { return sortedWords_; }

private:
    static constexpr std::size_t kUncounted = static_cast<std::size_t>(-1);

    std::string owned_;
    std::string_view text_;
    mutable std::size_t size_ = kUncounted;
    mutable std::size_t longest_ = kUncounted;
    std::size_t width_ = 0;   // the words' one length, when known
    std::size_t stride_ = 0;  // their length and line break
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

    // Moves past this entry and every next one that begins with `prefix`,
    // which this one does. The entries are in ascending byte order, as in
    // every list the program makes, so those entries come together; lines
    // of one length are passed over by halving, the others one by one.
    void PassOver(std::string_view prefix);

private:
    friend class WordList;
    Iterator(const char* next, const char* last, std::size_t width, std::size_t stride)
        : next_(next), last_(last), width_(width), stride_(stride) {
        Advance();
    }
    void Advance();

    const char* next_ = nullptr;  // where the entry after this one starts
    const char* last_ = nullptr;  // end of the text
    std::size_t width_ = 0;       // every line's letters, when they are one length
    std::size_t stride_ = 0;      // and the bytes from one line to the next
    std::string_view entry_;
    bool atEnd_ = true;
};

namespace detail {

inline bool IsTerminator(char c) { return c == '\r' || c == '\n'; }

}  // namespace detail

inline void WordList::Iterator::Advance() {
    if (next_ == last_) {
        atEnd_ = true;
        entry_ = {};
        return;
    }
    atEnd_ = false;
    // Lines of one length are read at a fixed stride, not looked through
    // for their ends: the console program's whole run of "unscramble
    // retainsdogsx" takes 1.5 ms with this and 2.4 ms without it (median
    // CPU time of 160 runs each, taken in turns).
    if (width_ != 0) {
        entry_ = std::string_view(next_, width_);
        next_ += stride_;
        return;
    }
    const char* p = next_;
    while (p != last_ && !detail::IsTerminator(*p)) ++p;
    entry_ = std::string_view(next_, static_cast<std::size_t>(p - next_));
    if (p != last_ && *p == '\r') ++p;
    if (p != last_ && *p == '\n') ++p;
    next_ = p;
}

inline void WordList::Iterator::PassOver(std::string_view prefix) {
    if (width_ == 0 || prefix.size() > width_) {
        do Advance();
        while (!atEnd_ && entry_.starts_with(prefix));
        return;
    }
    // The entries after this one start at next_ + k * stride_: look at the
    // next few one by one (most runs are short, and these are near), then
    // 16, 32 ... entries ahead for one that does not begin so, and halve.
    const std::size_t count = (static_cast<std::size_t>(last_ - next_) + stride_ - 1) / stride_;
    const auto begins = [&](std::size_t k) {
        // A loop of our own: the prefixes are short, and a call to memcmp
        // costs more than comparing them ("unscramble retainsdogsx": 1.25
        // ms against 1.34 ms with memcmp, whole run, measured as above).
        const char* entry = next_ + k * stride_;
        for (const char c : prefix)
            if (*entry++ != c) return false;
        return true;
    };
    constexpr std::size_t kNear = 8;
    std::size_t low = 0;  // the entries before `low` begin so
    while (low < std::min(count, kNear) && begins(low)) ++low;
    std::size_t high = low;
    if (low == kNear) {
        high = 2 * kNear;
        while (high <= count && begins(high - 1)) {
            low = high;
            high *= 2;
        }
        high = std::min(high, count);
    }
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (begins(middle))
            low = middle + 1;
        else
            high = middle;
    }
    next_ += low * stride_;
    Advance();
}

// The embedded list of `length` (2 to 15), read in place; empty when the
// program carries no such list.
WordList LoadWordList(int length);

}  // namespace lexigrove
