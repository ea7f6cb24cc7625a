#include "WordList.h"

#include <stdexcept>

#include "Resources.h"

namespace lexigrove {

void WordList::Split(std::string text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    if (text.size() > UINT32_MAX) throw std::length_error("word list text too long");

    entries_.clear();
    text_ = std::move(text);
    const char* const base = text_.data();
    const std::size_t n = text_.size();
    std::size_t pos = 0;
    while (pos < n) {
        std::size_t end = pos;
        while (end < n && base[end] != '\r' && base[end] != '\n') ++end;
        entries_.push_back({static_cast<std::uint32_t>(pos), static_cast<std::uint32_t>(end - pos)});
        pos = end;
        if (pos < n && base[pos] == '\r') ++pos;
        if (pos < n && base[pos] == '\n') ++pos;
    }
}

WordList LoadWordList(int length) {
    WordList list;
    list.Split(LoadWordListText(length));
    return list;
}

}  // namespace lexigrove
