#include "Unscramble.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace lexigrove {

namespace {

constexpr std::uint8_t kCountCap = 255;

void Bump(std::uint8_t& count) {
    if (count < kCountCap) ++count;
}

bool IsLetter(unsigned char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

int FindCharFrom(std::string_view s, char c, int start) {
    if (s.empty() || start < 1 || static_cast<std::size_t>(start) > s.size()) return 0;
    const void* hit = std::memchr(s.data() + start - 1, static_cast<unsigned char>(c), s.size() - (start - 1));
    if (hit == nullptr) return 0;
    return static_cast<int>(static_cast<const char*>(hit) - s.data()) + 1;
}

LetterPool::LetterPool(std::string_view text) : text_(text), textLength_(text.size()) {
    int segment = 0;
    for (unsigned char c : text) {
        if (IsLetter(c)) {
            Bump(total_[c - 'a']);
            Bump(segment_[segment][c - 'a']);
        } else if (c == '?') {
            ++wildcards_;
            // Each '?' empties one letter of a word that is not yet empty, so
            // no word of kMaxFastLength letters survives that many of them:
            // the letters after them never decide anything.
            if (segment < kMaxFastLength) ++segment;
        }
    }
    segments_ = segment + 1;
}

bool LetterPool::CanSpell(std::string_view word) const {
    const std::size_t length = word.size();
    if (length == 0 || length > textLength_) return false;
    if (length > static_cast<std::size_t>(kMaxFastLength)) return SpellsLiterally(word);

    // Letters the text lacks must each be taken by a '?'.
    std::array<std::uint8_t, 32> available = total_;
    std::uint64_t shortfall = 0;
    for (unsigned char c : word) {
        if (!IsLetter(c)) return SpellsLiterally(word);
        std::uint8_t& left = available[c - 'a'];
        if (left > 0) {
            --left;
        } else if (++shortfall > wildcards_) {
            return false;
        }
    }
    if (wildcards_ == 0) return true;            // letter counts decide alone
    if (wildcards_ >= length) return true;       // the '?'s alone empty the word
    return SpellsWithWildcards(word);
}

// Replays the text on the word, one run of letters at a time: within a run
// each letter takes the leftmost copies of itself, then the '?' that ends the
// run takes the first letter left.
bool LetterPool::SpellsWithWildcards(std::string_view word) const {
    std::array<std::uint32_t, 26> positions{};
    std::array<std::uint8_t, 26> distinct{};
    int distinctCount = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const int c = static_cast<unsigned char>(word[i]) - 'a';
        if (positions[c] == 0) distinct[distinctCount++] = static_cast<std::uint8_t>(c);
        positions[c] |= std::uint32_t{1} << i;
    }
    std::uint32_t remaining = word.size() == 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << word.size()) - 1;
    for (int s = 0; s < segments_; ++s) {
        for (int d = 0; d < distinctCount; ++d) {
            const int c = distinct[d];
            std::uint32_t left = remaining & positions[c];
            for (int n = segment_[s][c]; n > 0 && left != 0; --n) left &= left - 1;
            remaining = (remaining & ~positions[c]) | left;
        }
        if (remaining == 0) return true;
        if (s + 1 == segments_) return false;
        remaining &= remaining - 1;  // the '?'
        if (remaining == 0) return true;
    }
    return false;
}

// The rule as stated, for words the fast path does not cover (bytes other
// than a-z, or very long words).
bool LetterPool::SpellsLiterally(std::string_view word) const {
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
    const LetterPool pool(text);
    for (const std::string_view word : list)
        if (!word.empty() && pool.CanSpell(word)) surface.ResultsAppend(word);
}

}  // namespace lexigrove
