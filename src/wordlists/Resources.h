// Read-only data built into the program, looked up by type and integer id,
// like module resources on other platforms. The word lists are type "DICT",
// ids 2 to 15.
#pragma once

#include <string>
#include <string_view>

namespace lexigrove {

// One embedded block of bytes. `data` ends with the block's own terminator
// (the word lists end in two NUL bytes); `size` counts every byte, and
// `textSize` those before the first NUL, as the build counted them.
struct EmbeddedResource {
    const char* type;
    int id;
    const char* data;
    std::size_t size;
    std::size_t textSize;
};

// The bytes of the resource, or nullptr when the program has none with that
// type and id.
const char* FindResource(std::string_view type, int id);

// The stored text of word list `length` up to the first NUL byte, as a new
// string; empty when the program carries no such list.
std::string LoadWordListText(int length);

// The same text read in place, without a copy.
std::string_view StoredWordListText(int length);

}  // namespace lexigrove
