#include "Unscramble.h"

#include <algorithm>
#include <bit>
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

// How many first bytes `word` shares with the word in hand, up to `limit`.
int Speller::CommonBeginning(std::string_view word, int limit) const {
    int n = 0;
    while (n + 8 <= limit) {
        std::uint64_t a, b;
        std::memcpy(&a, word.data() + n, 8);
        std::memcpy(&b, held_.data() + n, 8);
        if (const std::uint64_t differ = a ^ b; differ != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return n + std::countr_zero(differ) / 8;
            else
                return n + std::countl_zero(differ) / 8;
        }
        n += 8;
    }
    while (n < limit && word[static_cast<std::size_t>(n)] == held_[static_cast<std::size_t>(n)]) ++n;
    return n;
}

// Each letter's copies in a word go in order, leftmost first, whether a
// typed letter or a '?' takes them. So a copy is gone before a given '?'
// when the copies of its letter so far that typed letters removed are fewer
// than the typed copies before that '?'; otherwise that '?' takes it, for the
// first letter left is always the leftmost. One pass over the word thus
// tells which letter each '?' takes, and a letter that nothing can remove
// ends the word.
bool Speller::Spells(std::string_view word) {
    const std::size_t length = word.size();
    if (length == 0 || length > text_.size()) return false;
    if (length > static_cast<std::size_t>(kMaxFastLength)) return SpellsLiterally(word);
    if (wildcards_ >= length) return true;  // the '?' alone empty it

    const int size = static_cast<int>(length);
    const int common = CommonBeginning(word, std::min(size, depth_ + (failedAt_ >= 0 ? 1 : 0)));
    if (failedAt_ >= 0) {
        if (common > failedAt_) return false;  // same letters up to the one that failed
        failedAt_ = -1;
    }
    // Resume after the common beginning.
    int depth = std::min(common, depth_);
    Counts removed = removed_[static_cast<std::size_t>(depth)];
    int used = used_[static_cast<std::size_t>(depth)];
    for (; depth < size; ++depth) {
        const char byte = word[static_cast<std::size_t>(depth)];
        if (!IsLetter(static_cast<unsigned char>(byte))) {
            depth_ = 0;
            return SpellsLiterally(word);
        }
        held_[static_cast<std::size_t>(depth)] = byte;
        const std::size_t c = static_cast<std::size_t>(byte - 'a');
        // Typed letters before the next '?' (after the last, all of them)
        // remove it, or else the next '?' takes it.
        const bool stays = removed[c] >= before_[static_cast<std::size_t>(used)][c];
        if (stays && used == tracked_) {  // no '?' left to take it
            failedAt_ = depth;
            depth_ = depth;
            return false;
        }
        removed[c] = static_cast<std::uint8_t>(removed[c] + !stays);
        used += stays;
        removed_[static_cast<std::size_t>(depth) + 1] = removed;
        used_[static_cast<std::size_t>(depth) + 1] = used;
    }
    depth_ = size;
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
