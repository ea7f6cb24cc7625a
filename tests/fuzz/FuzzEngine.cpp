// libFuzzer target: arbitrary bytes through the search command, the pattern
// search, the list splitter, Unscramble over lists of any shape and the
// sort of a word file's lines. The first byte picks which.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ConsoleSurface.h"
#include "LineSort.h"
#include "PlainRules.h"
#include "SearchCommand.h"
#include "Unscramble.h"
#include "Wild.h"
#include "WordList.h"

namespace {

using namespace lexigrove;

void Trap(bool ok) {
    if (!ok) std::abort();
}

void RunCommand(std::string_view data) {
    if (data.size() < 3) return;
    const int mode = static_cast<unsigned char>(data[0]) % 5;
    std::array<bool, kLengthOptionCount> options{};
    const unsigned mask =
        static_cast<unsigned char>(data[1]) | static_cast<unsigned>(static_cast<unsigned char>(data[2])) << 8;
    for (int i = 0; i < kLengthOptionCount; ++i) options[static_cast<std::size_t>(i)] = mask >> i & 1;
    ConsoleSurface surface(std::string(data.substr(3)), options);
    static WordListCache cache;
    bFindClick(surface, cache, mode);
    const std::string& out = surface.Output();
    Trap(out.empty() || out.back() == '\n');
}

void RunPattern(std::string_view data) {
    if (data.size() < 2) return;
    const std::size_t split = static_cast<unsigned char>(data[0]) % data.size();
    const std::size_t start = static_cast<unsigned char>(data[1]);
    const std::string_view rest = data.substr(2);
    const std::string_view s = rest.substr(0, std::min(split, rest.size()));
    const std::string_view p = rest.substr(std::min(split, rest.size()));
    const std::size_t at = FindPatternFrom(s, p, start);
    Trap(at == 0 || (at >= start && at + p.size() - 1 <= s.size()));
    const std::size_t c = FindCharFrom(s, p.empty() ? 'a' : p[0], start);
    Trap(c == 0 || (c >= start && c <= s.size() && s[c - 1] == (p.empty() ? 'a' : p[0])));
}

// Lines sorted in place, through a copy of 1 to 64 bytes, against
// std::sort.
void RunSortLines(std::string_view data) {
    if (data.empty()) return;
    const std::size_t buffer = 1 + static_cast<unsigned char>(data[0]) % 64;
    std::string text(data.substr(1));
    if (!text.empty() && text.back() != '\n') text += '\n';
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1)
        lines.push_back(std::string_view(text).substr(at, text.find('\n', at) - at));
    std::sort(lines.begin(), lines.end());
    std::string want;
    for (const std::string_view line : lines) (want += line) += '\n';
    SortLines(text, buffer);
    Trap(text == want);
}

void RunSplit(std::string_view data) {
    WordList list;
    list.Split(std::string(data));
    std::size_t count = 0, bytes = 0;
    for (std::string_view entry : list) {
        ++count;
        bytes += entry.size();
        Trap(entry.find_first_of("\r\n") == std::string_view::npos);
        Trap(entry.find('\0') == std::string_view::npos);
    }
    Trap(count == list.size());
    Trap(bytes <= data.size());
}

// Speller against the rule written out, on words cut from the input.
void RunSpeller(std::string_view data) {
    const std::size_t split = data.empty() ? 0 : static_cast<unsigned char>(data[0]) % data.size();
    const std::string_view text = data.substr(std::min<std::size_t>(1, data.size()), split);
    const std::string_view words = data.substr(std::min(data.size(), split + 1));
    Speller speller(text);
    std::size_t begin = 0;
    while (begin < words.size()) {
        std::size_t end = words.find(',', begin);
        if (end == std::string_view::npos) end = words.size();
        const std::string word(words.substr(begin, end - begin));
        Trap(speller.Spells(word) == plain::Spells(text, word));
        begin = end + 1;
    }
}

// Unscramble over a list made of the input, against the rule written out
// for each of its entries: the list readers' fast paths meet every shape of
// line here.
void RunUnscrambleOverList(std::string_view data) {
    if (data.size() < 2) return;
    const int position = static_cast<unsigned char>(data[0]) % kLengthOptionCount;
    const std::size_t split = 1 + static_cast<unsigned char>(data[1]) % (data.size() - 1);
    const std::string text(data.substr(2, split > 2 ? split - 2 : 0));
    std::string listText(data.substr(std::min(split, data.size())));
    // Lines of letters the most, so that the fast paths run.
    for (char& c : listText)
        if (static_cast<unsigned char>(c) >= 0x80) c = static_cast<char>('a' + (c & 0x0f));
    WordList list;
    list.Split(listText);
    WordListCache cache([&](int) { return list; });
    std::array<bool, kLengthOptionCount> options{};
    ConsoleSurface surface(text, options);
    UnscrambleLength(surface, cache, position);
    std::string expected;
    if (text.size() >= 2) {
        for (std::string_view entry : list)
            if (plain::Spells(text, entry)) expected.append(entry).push_back('\n');
    }
    Trap(surface.Output() == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
    switch (bytes[0] % 6) {
        case 0:
            RunCommand(data);
            break;
        case 1:
            RunPattern(data);
            break;
        case 2:
            RunSplit(data);
            break;
        case 3:
            RunSpeller(data);
            break;
        case 4:
            RunSortLines(data);
            break;
        default:
            RunUnscrambleOverList(data);
            break;
    }
    return 0;
}
