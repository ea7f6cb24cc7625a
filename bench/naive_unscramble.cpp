// The spelling rule read literally, as a whole program: the peer that
// bench/huge_text.sh times lexigrove-cli against. Reads the text from
// standard input (less one trailing line break), lowercases it and writes
// every word of every length it spells, as `lexigrove-cli unscramble -`.
#include <iostream>
#include <iterator>
#include <string>
#include <utility>

#include "PlainRules.h"
#include "WordList.h"

int main() {
    std::ios::sync_with_stdio(false);
    std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
    text = lexigrove::plain::Lower(std::move(text));
    if (text.size() < 2) return 0;
    std::string out;
    for (int length = 2; length <= 15 && static_cast<std::size_t>(length) <= text.size(); ++length) {
        for (const std::string_view word : lexigrove::LoadWordList(length))
            if (lexigrove::plain::Spells(text, word)) out.append(word).push_back('\n');
    }
    std::cout << out;
    return 0;
}
