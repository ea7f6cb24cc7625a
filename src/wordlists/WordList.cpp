#include "WordList.h"

#include <algorithm>

#include "Resources.h"

namespace lexigrove {

namespace {

std::string_view UpToNul(std::string_view text) { return text.substr(0, std::min(text.find('\0'), text.size())); }

}  // namespace

WordList& WordList::operator=(const WordList& other) {
    if (this == &other) return *this;
    if (other.owned_.empty()) {
        owned_.clear();
        text_ = other.text_;
    } else {
        // The entries end at the first NUL, which the kept text may hold.
        owned_ = other.owned_;
        text_ = std::string_view(owned_).substr(0, other.text_.size());
    }
    size_ = other.size_;
    longest_ = other.longest_;
    width_ = other.width_;
    stride_ = other.stride_;
    sortedWords_ = other.sortedWords_;
    return *this;
}

WordList& WordList::operator=(WordList&& other) noexcept {
    if (this == &other) return *this;
    const bool owned = !other.owned_.empty();
    const std::size_t length = other.text_.size();
    owned_ = std::move(other.owned_);
    text_ = owned ? std::string_view(owned_).substr(0, length) : other.text_;
    size_ = other.size_;
    longest_ = other.longest_;
    width_ = other.width_;
    stride_ = other.stride_;
    sortedWords_ = other.sortedWords_;
    other.owned_.clear();
    other.SplitInPlace({});
    return *this;
}

void WordList::Split(std::string text) {
    owned_ = std::move(text);
    text_ = UpToNul(owned_);
    size_ = kUncounted;
    longest_ = kUncounted;
    width_ = 0;
    stride_ = 0;
    sortedWords_ = false;
}

void WordList::SplitInPlace(std::string_view text) {
    owned_.clear();
    text_ = UpToNul(text);
    size_ = kUncounted;
    longest_ = kUncounted;
    width_ = 0;
    sortedWords_ = false;
}

// Each terminator ends one entry, a CR LF pair counting once; a last line
// without a terminator is one more.
std::size_t WordList::size() const {
    if (size_ != kUncounted) return size_;
    if (stride_ != 0) return size_ = text_.size() / stride_;
    const char* p = text_.data();
    const std::size_t n = text_.size();
    std::size_t terminators = 0;
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < n; ++i) terminators += detail::IsTerminator(p[i]);
    for (std::size_t i = 0; i + 1 < n; ++i) pairs += (p[i] == '\r') & (p[i + 1] == '\n');
    size_ = terminators - pairs + (n > 0 && !detail::IsTerminator(p[n - 1]) ? 1 : 0);
    return size_;
}

std::size_t WordList::LongestEntry() const {
    if (longest_ != kUncounted) return longest_;
    longest_ = 0;
    for (const std::string_view entry : *this) longest_ = std::max(longest_, entry.size());
    return longest_;
}

void WordList::SplitSortedWordsInPlace(std::string_view text, std::optional<std::size_t> wordLength) {
    owned_.clear();
    text_ = text;
    size_ = kUncounted;
    longest_ = wordLength.value_or(kUncounted);
    // The lines are then read at a fixed stride, which must end exactly at
    // the end of the text.
    width_ = 0;
    stride_ = 0;
    const std::size_t width = wordLength.value_or(0);
    for (const std::size_t lineBreak : {std::size_t{2}, std::size_t{1}}) {
        if (width == 0 || stride_ != 0 || text.size() % (width + lineBreak) != 0) continue;
        if (text.empty() || text[width] == (lineBreak == 2 ? '\r' : '\n')) {
            width_ = width;
            stride_ = width + lineBreak;
        }
    }
    sortedWords_ = true;
}

WordList::Iterator WordList::begin() const {
    return Iterator(text_.data(), text_.data() + text_.size(), width_, stride_);
}

WordList::Iterator WordList::end() const {
    Iterator it;
    it.next_ = text_.data() + text_.size();
    it.last_ = it.next_;
    return it;
}

WordList LoadWordList(int length) {
    WordList list;
    // The build refuses a word list that is not of this shape.
    // Each list but the last holds words of its own length only.
    list.SplitSortedWordsInPlace(StoredWordListText(length),
                                 length < 15 ? std::optional<std::size_t>(length) : std::nullopt);
    return list;
}

}  // namespace lexigrove
