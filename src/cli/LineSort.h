// Putting lines in order where they stand, with a fixed amount of memory
// beside them: a word file of any size takes its own size and no more than
// a few hundred kilobytes besides.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace lexigrove {

// Sorts the lines of `text`, each ending in LF, in ascending byte order (of
// the lines without their LF), in place: a merge sort whose stretches of up
// to `buffer` bytes are sorted through a copy and merged in place. Beside the
// text it takes `buffer` bytes and 12 bytes a line of such a stretch.
void SortLines(std::span<char> text, std::size_t buffer = std::size_t{1} << 18);

}  // namespace lexigrove
