// Keeps the word lists that Unscramble has loaded for as long as the main
// window lives: 21 slots by word length, of which 2 to 15 are used.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "WordList.h"

namespace lexigrove {

class WordListCache {
public:
    using ListLoader = std::function<WordList(int length)>;

    static constexpr int kSlots = 21;

    // `loader` supplies a list by length; the embedded lists by default.
    // `privateLoader` supplies the private copies of LoadUncached: also the
    // embedded lists by default, whatever `loader` is.
    explicit WordListCache(ListLoader loader = {}, ListLoader privateLoader = {});

    // The list of `length`, loaded and split on first use and kept.
    const WordList& Fetch(int length);

    // A new list of `length`, not kept: for searches that use a private
    // copy.
    WordList LoadUncached(int length) const { return privateLoader_(length); }

    // The list in a slot, or nullptr when the slot is empty.
    const WordList* Peek(int length) const;

    // Destroys every loaded list, slot 0 to 20; returns how many there were.
    int Release();

private:
    ListLoader loader_;
    ListLoader privateLoader_;
    std::array<std::unique_ptr<WordList>, kSlots> slots_;
};

}  // namespace lexigrove
