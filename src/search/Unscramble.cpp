#include "Unscramble.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <numeric>

namespace lexigrove {

std::size_t FindCharFrom(std::string_view s, char c, std::size_t start) {
    if (start < 1 || start > s.size()) return 0;
    const std::size_t at = s.find(c, start - 1);
    return at == std::string_view::npos ? 0 : at + 1;
}

// A word of n letters asks about at most its n-th copy of a letter, and at
// most n '?' are ever used on it: once the text has given that many, the
// rest of it cannot change an answer and is not read.
Speller::Speller(std::string_view text, std::size_t longestWord) : text_(text) {
    const std::size_t enough = longestWord == 0 ? text.size() : std::min(longestWord, text.size());
    constexpr std::size_t kMost = std::numeric_limits<std::uint32_t>::max();
    for (const char byte : text) {
        if (wildcards_ >= enough) break;
        if (byte == '?') {
            ++wildcards_;
            continue;
        }
        std::vector<std::uint32_t>& copies = wildcardsBefore_[static_cast<unsigned char>(byte)];
        if (copies.size() < enough) copies.push_back(static_cast<std::uint32_t>(std::min(wildcards_, kMost)));
    }
    for (std::size_t c = 0; c < 256; ++c) absent_[c] = wildcardsBefore_[c].empty() ? 1 : 0;
}

// The word's copies of one letter go leftmost first, whoever removes them.
// Walking the word from the left: when typed letters have removed k earlier
// copies of this letter, the text's (k + 1)-th copy removes this one if no
// unused '?' comes before it; otherwise the next '?' takes it, as by then it
// is the first letter left. With no '?' left for it, the word stays.
std::size_t Speller::Stop(std::string_view word) const {
    if (word.empty() || word.size() > text_.size()) return kNoStop;
    if (word.size() <= wildcards_) return word.size();  // each '?' takes a letter
    // Fast path: with '?' in the text, a word mostly holds more letters the
    // text lacks than it has '?'. Counting those first, with no branch a
    // letter, turns such a word down sooner than the walk below, which stops
    // at a different letter from word to word. The console program's whole
    // run of "unscramble 'unscr?mbl?worda'" takes 2.68 ms with this and
    // 3.38 ms without it (median CPU time over 8 rounds of perf stat -r 30
    // -e task-clock, the two programs taken in turns).
    if (wildcards_ > 0 &&
        std::transform_reduce(word.begin(), word.end(), std::size_t{0}, std::plus<>(), [this](char byte) {
            return std::size_t{absent_[static_cast<unsigned char>(byte)]};
        }) > wildcards_)
        return kNoStop;
    ++word_;
    std::size_t used = 0;
    for (std::size_t at = 0; at < word.size(); ++at) {
        const auto c = static_cast<unsigned char>(word[at]);
        const std::vector<std::uint32_t>& copies = wildcardsBefore_[c];
        Removed& removed = removed_[c];
        const std::uint32_t k = removed.word == word_ ? removed.copies : 0;
        if (k < copies.size() && copies[k] <= used)
            removed = {word_, k + 1};
        else if (used < wildcards_)
            ++used;
        else
            return at;
    }
    return word.size();
}

void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position) {
    const SearchText text(surface);
    if (text.View().size() < 2) return;
    const Speller speller(text.View(), cache.Fetch(OptionWordLength(position)).LongestEntry());
    UnscrambleLength(surface, cache, position, speller);
}

void UnscrambleLength(SearchSurface& surface, WordListCache& cache, int position, const Speller& speller) {
    if (speller.Text().size() < 2) return;
    // Fast path: where a text without '?' stops spelling a word, it stops
    // at the same byte of every word that begins the same up to there, and
    // in a list in order those words come together: they are passed over
    // at once. The console program's whole run of "unscramble
    // retainsdogsx" takes 1.02 ms with this and 1.44 ms without it (median
    // CPU time of 10 rounds of perf stat -r 30 -e task-clock, the two
    // programs taken in turns). With '?' the text stops later in a word,
    // the runs are short, and looking for their ends costs more than it
    // saves.
    const WordList& list = cache.Fetch(OptionWordLength(position));
    const WordList::Iterator end = list.end();
    for (WordList::Iterator word = list.begin(); word != end;) {
        const std::size_t stop = speller.Stop(*word);
        if (stop == word->size()) {
            surface.ResultsAppend(*word);
            ++word;
        } else if (stop < word->size() && !speller.HasWildcards()) {
            word.PassOver(word->substr(0, stop + 1));
        } else {
            ++word;
        }
    }
}

}  // namespace lexigrove
