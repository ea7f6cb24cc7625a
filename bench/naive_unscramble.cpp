// The spelling rule read literally, as a whole program: the peer that
// bench/huge_text.sh times lexigrove-cli against. Reads the text from
// standard input (less one trailing line break), lowercases it and writes
// every word of every length it spells, as `lexigrove-cli unscramble -`.
#include <iostream>
#include <iterator>
#include <string>

#include "WordList.h"

namespace {

// Whether `text`, read from left to right, spells `word`: each character
// takes its letter from what the word still needs, a '?' the first.
bool Spells(std::string_view word, const std::string& text) {
    std::string rest(word);
    for (const char c : text) {
        const std::size_t p = c == '?' ? 0 : rest.find(c);
        if (p != std::string::npos) rest.erase(p, 1);
        if (rest.empty()) return true;
    }
    return false;
}

}  // namespace

int main() {
    std::ios::sync_with_stdio(false);
    std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (text.size() < 2) return 0;
    std::string out;
    for (int length = 2; length <= 15 && static_cast<std::size_t>(length) <= text.size(); ++length) {
        for (const std::string_view word : lexigrove::LoadWordList(length))
            if (Spells(word, text)) out.append(word).push_back('\n');
    }
    std::cout << out;
    return 0;
}
