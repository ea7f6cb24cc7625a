#include "PlainRules.h"

namespace lexigrove::plain {

bool Spells(std::string_view text, std::string_view word) {
    std::string rest(word);
    for (const char c : text) {
        if (rest.empty()) break;
        const std::size_t p = c == '?' ? 0 : rest.find(c);
        if (p != std::string::npos) rest.erase(p, 1);
        if (rest.empty()) return true;
    }
    return false;
}

bool PatternFound(std::string_view word, std::string_view pattern) {
    if (word.empty() || pattern.empty()) return false;
    for (std::size_t o = 0; o + pattern.size() <= word.size(); ++o) {
        std::size_t j = 0;
        while (j < pattern.size() && (pattern[j] == '?' || pattern[j] == word[o + j])) ++j;
        if (j == pattern.size()) return true;
    }
    return false;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace lexigrove::plain
