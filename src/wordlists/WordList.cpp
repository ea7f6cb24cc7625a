#include "WordList.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "Resources.h"

namespace lexigrove {

namespace {

std::string_view UpToNul(std::string_view text) { return text.substr(0, std::min(text.find('\0'), text.size())); }

bool IsTerminator(char c) { return c == '\r' || c == '\n'; }

// The first CR or LF in [p, last), or last. Eight bytes at a time: both
// terminators sort below every letter, so a word of eight letters is passed
// with one test.
const char* FindTerminator(const char* p, const char* last) {
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

}  // namespace

WordList& WordList::operator=(const WordList& other) {
    if (this == &other) return *this;
    if (other.owned_.empty()) {
        owned_.clear();
        text_ = other.text_;
    } else {
        owned_ = other.owned_;
        text_ = owned_;
    }
    size_ = other.size_;
    return *this;
}

WordList& WordList::operator=(WordList&& other) noexcept {
    if (this == &other) return *this;
    const bool owned = !other.owned_.empty();
    owned_ = std::move(other.owned_);
    text_ = owned ? std::string_view(owned_) : other.text_;
    size_ = other.size_;
    other.owned_.clear();
    other.text_ = {};
    other.size_ = kUncounted;
    return *this;
}

void WordList::Split(std::string text) {
    owned_ = std::move(text);
    text_ = UpToNul(owned_);
    size_ = kUncounted;
}

void WordList::SplitInPlace(std::string_view text) {
    owned_.clear();
    text_ = UpToNul(text);
    size_ = kUncounted;
}

// Each terminator ends one entry, a CR LF pair counting once; a last line
// without a terminator is one more.
std::size_t WordList::size() const {
    if (size_ != kUncounted) return size_;
    const char* p = text_.data();
    const std::size_t n = text_.size();
    std::size_t terminators = 0;
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < n; ++i) terminators += IsTerminator(p[i]);
    for (std::size_t i = 0; i + 1 < n; ++i) pairs += (p[i] == '\r') & (p[i + 1] == '\n');
    size_ = terminators - pairs + (n > 0 && !IsTerminator(p[n - 1]) ? 1 : 0);
    return size_;
}

WordList::Iterator WordList::begin() const { return Iterator(text_.data(), text_.data() + text_.size()); }

WordList::Iterator WordList::end() const {
    Iterator it;
    it.next_ = text_.data() + text_.size();
    it.last_ = it.next_;
    return it;
}

void WordList::Iterator::Advance() {
    if (next_ == last_) {
        atEnd_ = true;
        entry_ = {};
        return;
    }
    atEnd_ = false;
    const char* p = FindTerminator(next_, last_);
    entry_ = std::string_view(next_, static_cast<std::size_t>(p - next_));
    if (p != last_ && *p == '\r') ++p;
    if (p != last_ && *p == '\n') ++p;
    next_ = p;
}

WordList LoadWordList(int length) {
    WordList list;
    list.SplitInPlace(StoredWordListText(length));
    return list;
}

}  // namespace lexigrove
