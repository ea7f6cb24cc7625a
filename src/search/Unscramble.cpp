#include "Unscramble.h"

#include <cstring>
#include <string>

namespace lexigrove {

namespace {

void Bump(std::uint8_t& count) {
    if (count < 255) ++count;
}

bool IsLetter(unsigned char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

int FindCharFrom(std::string_view s, char c, int start) {
    if (s.empty() || start < 1 || static_cast<std::size_t>(start) > s.size()) return 0;
    const void* hit = std::memchr(s.data() + start - 1, static_cast<unsigned char>(c), s.size() - (start - 1));
    if (hit == nullptr) return 0;
    return static_cast<int>(static_cast<const char*>(hit) - s.data()) + 1;
}

Speller::Speller(std::string_view text) : text_(text) {
    Counts total{};
    for (unsigned char c : text) {
        if (IsLetter(c)) {
            Bump(total[c - 'a']);
        } else if (c == '?') {
            if (tracked_ < kMaxFastLength) before_[static_cast<std::size_t>(tracked_++)] = total;
            ++wildcards_;
        }
    }
    before_[static_cast<std::size_t>(tracked_)] = total;
}

void Speller::Forget() {
    depth_ = 0;
    failedAt_ = -1;
    seen_.fill(0);
    taken_.fill(0);
    wildcard_ = 0;
}

// Each letter's copies in a word go in order, leftmost first, whether a
// typed letter or a '?' takes them: the copy of rank r of letter c is gone
// once the c's typed so far plus the c's taken by '?' reach r. The first
// remaining letter only moves right, so one pass over the word tells, for
// each '?' in turn, which letter it takes; a letter that nothing can take
// ends the word.
bool Speller::Spells(std::string_view word) {
    const std::size_t length = word.size();
    if (length == 0 || length > text_.size()) return false;
    if (length > static_cast<std::size_t>(kMaxFastLength)) return SpellsLiterally(word);
    if (wildcards_ >= length) return true;  // the '?' alone empty it

    // How far the word agrees with the one in hand.
    const int known = depth_ + (failedAt_ >= 0 ? 1 : 0);
    int common = 0;
    while (common < known && static_cast<std::size_t>(common) < length &&
           static_cast<unsigned char>(word[static_cast<std::size_t>(common)]) - 'a' == letters_[static_cast<std::size_t>(common)])
        ++common;
    if (failedAt_ >= 0) {
        if (common > failedAt_) return false;  // same letters up to the one that failed
        failedAt_ = -1;
    }
    // Take back the letters after the common part.
    while (depth_ > common) {
        const std::size_t p = static_cast<std::size_t>(--depth_);
        const int c = letters_[p];
        --seen_[c];
        taken_[c] = static_cast<std::uint8_t>(taken_[c] - stays_[p]);
        wildcard_ -= stays_[p];
    }
    // And run the rest.
    for (std::size_t p = static_cast<std::size_t>(depth_); p < length; ++p) {
        const unsigned char byte = static_cast<unsigned char>(word[p]);
        if (!IsLetter(byte)) {
            Forget();
            return SpellsLiterally(word);
        }
        const int c = byte - 'a';
        letters_[p] = static_cast<std::uint8_t>(c);
        const int rank = seen_[c] + 1;
        // Gone already if typed letters before the next '?' reach it
        // (after the last '?', all typed letters).
        const bool stays = rank > before_[static_cast<std::size_t>(wildcard_)][c] + taken_[c];
        if (stays && wildcard_ == tracked_) {  // no '?' left to take it
            failedAt_ = static_cast<int>(p);
            return false;
        }
        seen_[c] = static_cast<std::uint8_t>(rank);
        stays_[p] = stays;  // if it stays, the next '?' takes it
        taken_[c] = static_cast<std::uint8_t>(taken_[c] + stays);
        wildcard_ += stays;
        depth_ = static_cast<int>(p) + 1;
    }
    return true;
}

// The rule as stated, for words the fast path does not cover (bytes other
// than a-z, or very long words).
bool Speller::SpellsLiterally(std::string_view word) const {
    std::string rest(word);
    for (char c : text_) {
        const int p = c == '?' ? 1 : FindCharFrom(rest, c, 1);
        if (p > 0) rest.erase(static_cast<std::size_t>(p - 1), 1);
        if (rest.empty()) return true;
    }
    return false;
}

void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position) {
    const std::string text = surface.ReadText();
    if (text.size() < 2) return;
    const WordList& list = cache.Fetch(position + 2);
    Speller speller(text);
    for (const std::string_view word : list)
        if (!word.empty() && speller.Spells(word)) surface.ResultsAppend(word);
}

}  // namespace lexigrove
