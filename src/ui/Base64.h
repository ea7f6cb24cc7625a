// Decoding of standard base64 text (the RFC 4648 alphabet), forgiving on
// purpose: characters outside the alphabet are skipped wherever they stand,
// padding is optional, and a partial last group gives the whole bytes it
// holds. Nothing here fails.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace lexigrove {

// Indexed by character code: 1 to 64 for the alphabet (the value of the
// character plus one), 0 for every other code, "=" included.
extern const std::array<unsigned char, 256> kBase64Table;

// The bytes that `text` encodes. Works in a buffer of the text's length:
// the kept 6-bit values are gathered at its start, then packed into bytes
// over them.
std::string Base64Decode(std::string_view text);

}  // namespace lexigrove
