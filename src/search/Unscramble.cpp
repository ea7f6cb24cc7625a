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
    // Past the last '?' every row is the whole text, so that a word may
    // spend more '?' than there are before anything tells it has failed (a
    // word spends at most one per letter, and is no longer than the text).
    const int rows = static_cast<int>(std::min<std::size_t>(text.size(), kMaxFastLength));
    for (int j = tracked_; j <= rows; ++j) before_[static_cast<std::size_t>(j)] = total;
}

namespace {

// The first `n` (below 8) bytes at `p` as the low bytes of a number, read
// without touching anything past them.
std::uint64_t LoadShort(const char* p, int n) {
    if (n >= 4) {
        std::uint32_t a, b;
        std::memcpy(&a, p, 4);
        std::memcpy(&b, p + n - 4, 4);
        return a | static_cast<std::uint64_t>(b) << (8 * (n - 4));
    }
    if (n >= 2) {
        std::uint16_t a, b;
        std::memcpy(&a, p, 2);
        std::memcpy(&b, p + n - 2, 2);
        return a | static_cast<std::uint64_t>(b) << (8 * (n - 2));
    }
    return n == 1 ? static_cast<unsigned char>(p[0]) : 0;
}

}  // namespace

// How many first bytes `word` shares with the word in hand, up to `limit`.
int Speller::CommonBeginning(std::string_view word, int limit) const {
    int n = 0;
    if constexpr (std::endian::native == std::endian::little) {
        while (n + 8 <= limit) {
            std::uint64_t a, b;
            std::memcpy(&a, word.data() + n, 8);
            std::memcpy(&b, held_.data() + n, 8);
            if (const std::uint64_t differ = a ^ b; differ != 0) return n + std::countr_zero(differ) / 8;
            n += 8;
        }
        const int rest = limit - n;
        if (rest == 0) return n;
        std::uint64_t b;
        std::memcpy(&b, held_.data() + n, 8);  // held_ has room past its last letter
        const std::uint64_t differ = (LoadShort(word.data() + n, rest) ^ b) & (~0ULL >> (64 - 8 * rest));
        return differ == 0 ? limit : n + std::countr_zero(differ) / 8;
    } else {
        while (n < limit && word[static_cast<std::size_t>(n)] == held_[static_cast<std::size_t>(n)]) ++n;
        return n;
    }
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
    // Go back to the end of the common beginning: give back the copies that
    // typed letters removed from the letters after it.
    int depth = std::min(common, depth_);
    for (int i = depth; i < depth_; ++i)
        removed_[static_cast<std::size_t>(held_[static_cast<std::size_t>(i)] - 'a')] -= typed_[static_cast<std::size_t>(i)];
    int used = used_[static_cast<std::size_t>(depth)];
    for (; depth < size; ++depth) {
        const char byte = word[static_cast<std::size_t>(depth)];
        const unsigned c = static_cast<unsigned>(static_cast<unsigned char>(byte)) - 'a';
        if (c > 'z' - 'a') {
            depth_ = depth;
            return SpellsLiterally(word);
        }
        held_[static_cast<std::size_t>(depth)] = byte;
        // Typed letters before the next '?' (after the last, all of them)
        // remove it, or else the next '?' takes it.
        const bool stays = removed_[c] >= before_[static_cast<std::size_t>(used)][c];
        used += stays;
        if (used > tracked_) {  // no '?' left to take it
            failedAt_ = depth;
            depth_ = depth;
            return false;
        }
        removed_[c] = static_cast<std::uint8_t>(removed_[c] + !stays);
        typed_[static_cast<std::size_t>(depth)] = !stays;
        used_[static_cast<std::size_t>(depth) + 1] = static_cast<std::uint8_t>(used);
    }
    depth_ = size;
    return true;
}

// The same answer without resuming: every letter of the word in turn, with
// no early exit, so that the number of steps is the word's length and the
// branches are the same for every word of a list. A letter that nothing can
// remove pushes the count of '?' spent past those there are, and the count
// never falls, so one test at the end tells.
bool Speller::SpellsWhole(std::string_view word) const {
    const std::size_t length = word.size();
    if (length == 0 || length > text_.size()) return false;
    if (length > static_cast<std::size_t>(kMaxFastLength)) return SpellsLiterally(word);
    Counts removed{};
    unsigned used = 0;
    for (const char byte : word) {
        const unsigned c = static_cast<unsigned>(static_cast<unsigned char>(byte)) - 'a';
        if (c > 'z' - 'a') return SpellsLiterally(word);
        const unsigned stays = removed[c] >= before_[used][c];
        removed[c] = static_cast<std::uint8_t>(removed[c] + (stays ^ 1));
        used += stays;
    }
    return used <= static_cast<unsigned>(tracked_);
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
    // Resuming pays when most words fail within their first few letters;
    // when the words are short, or short beside the text so that most are
    // read far anyway, reading each word whole costs fewer guessed branches.
    const std::size_t wordLength = static_cast<std::size_t>(position) + 2;
    const bool whole = wordLength <= 3 || 2 * wordLength <= text.size() + 2 * speller.Wildcards();
    // Matches are gathered first and appended in a second loop, so that
    // whether a word matches is not one more branch to guess per word.
    constexpr std::size_t kBatch = 128;
    const char* found[kBatch];
    std::size_t foundSize[kBatch];
    std::size_t count = 0;
    const auto flush = [&] {
        for (std::size_t i = 0; i < count; ++i) surface.ResultsAppend(std::string_view(found[i], foundSize[i]));
        count = 0;
    };
    for (const std::string_view word : list) {
        found[count] = word.data();
        foundSize[count] = word.size();
        count += whole ? speller.SpellsWhole(word) : speller.Spells(word);
        if (count == kBatch) flush();
    }
    flush();
}

}  // namespace lexigrove
