#include "ListReader.h"

#include <algorithm>

namespace lexigrove::list_reader {

// Read as at most four overlapping 8-byte chunks, or below 8 bytes as two
// overlapping halves.
bool AllLetters(std::string_view word) {
    const char* const p = word.data();
    const std::size_t n = word.size();
    if (n >= 8) {
        bool all = true;
        for (std::size_t i = 0; i < 32; i += 8) all &= Follows(Load(p + std::min(i, n - 8), 8), kLetters);
        return all;
    }
    const int half = n >= 4 ? 4 : 2;
    const std::uint64_t chunk = n == 1 ? static_cast<unsigned char>(p[0])
                                       : Load(p, half) | Load(p + n - half, half)
                                                             << (8 * (n - static_cast<std::size_t>(half)));
    const ByteRanges ranges{kLetters.low, kLetters.high, kLetters.used >> (8 * (8 - n))};
    return Follows(chunk, ranges);
}

}  // namespace lexigrove::list_reader
