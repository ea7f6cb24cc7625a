#include "WordListCache.h"

namespace lexigrove {

WordListCache::WordListCache(ListLoader loader, ListLoader privateLoader)
    : loader_(std::move(loader)), privateLoader_(std::move(privateLoader)) {
    if (!loader_) loader_ = LoadWordList;
    if (!privateLoader_) privateLoader_ = LoadWordList;
}

const WordList& WordListCache::Fetch(int length) {
    auto& slot = slots_.at(static_cast<std::size_t>(length));
    if (!slot) {
        // A missing list is cached as an empty one. A load that fails part
        // way (out of memory) leaves the slot empty, so the next search tries
        // again rather than finding nothing in a half-built list forever.
        slot = std::make_unique<WordList>(loader_(length));
    }
    return *slot;
}

const WordList* WordListCache::Peek(int length) const {
    if (length < 0 || length >= kSlots) return nullptr;
    return slots_[static_cast<std::size_t>(length)].get();
}

int WordListCache::Release() {
    int released = 0;
    for (auto& slot : slots_) {
        if (slot) {
            slot.reset();
            ++released;
        }
    }
    return released;
}

}  // namespace lexigrove
