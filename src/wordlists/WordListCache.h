// Keeps the word lists that Unscramble has loaded for as long as the main
// window lives: 21 slots by word length, of which 2 to 15 are used.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "WordList.h"

namespace lexigrove {

class WordListCache {
public:
    using TextLoader = std::function<std::string(int length)>;

    static constexpr int kSlots = 21;

    // `loader` supplies the stored text of a list; the embedded lists by
    // default.
    explicit WordListCache(TextLoader loader = {});

    // The list of `length`, loaded and split on first use and kept.
    const WordList& Fetch(int length);

    // The list in a slot, or nullptr when the slot is empty.
    const WordList* Peek(int length) const;

    // Destroys every loaded list, slot 0 to 20; returns how many there were.
    int Release();

private:
    TextLoader loader_;
    std::array<std::unique_ptr<WordList>, kSlots> slots_;
};

}  // namespace lexigrove
