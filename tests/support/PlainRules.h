// The three searches' rules written out plainly, as the reference that the
// tests, the fuzz target and the benchmarks hold the engine to. Slow on
// purpose: nothing here shares code or tricks with the engine.
#pragma once

#include <string>
#include <string_view>

namespace lexigrove::plain {

// Unscramble's rule step by step: copy the word, and for each typed byte
// delete the first remaining copy of it ('?': the first remaining letter);
// the text spells the word once nothing of it remains. An empty word is
// never spelled.
bool Spells(std::string_view text, std::string_view word);

// Wild's rule: whether `pattern` ('?' matching any one byte) matches `word`
// at some offset. False for an empty word or pattern.
bool PatternFound(std::string_view word, std::string_view pattern);

// `s` with A-Z made lowercase, as the searches read the edit box.
std::string Lower(std::string s);

}  // namespace lexigrove::plain
