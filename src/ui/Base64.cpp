#include "Base64.h"

#include <cstddef>

namespace lexigrove {

namespace {

constexpr std::array<unsigned char, 256> MakeTable() {
    std::array<unsigned char, 256> table{};
    constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<unsigned char>(i + 1);
    return table;
}

}  // namespace

const std::array<unsigned char, 256> kBase64Table = MakeTable();

std::string Base64Decode(std::string_view text) {
    std::string buffer(text.size(), '\0');

    // Keep the 6-bit value of every alphabet character, in order.
    std::size_t kept = 0;
    for (const char c : text) {
        const unsigned char entry = kBase64Table[static_cast<unsigned char>(c)];
        if (entry != 0) buffer[kept++] = static_cast<char>(entry - 1);
    }

    // Pack four values into three bytes. Group g is read from 4g and
    // written to 3g, never ahead of what is still to be read.
    const auto value = [&buffer](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(buffer[i]));
    };
    std::size_t written = 0;
    std::size_t read = 0;
    for (; read + 4 <= kept; read += 4) {
        const unsigned a = value(read), b = value(read + 1), c = value(read + 2), d = value(read + 3);
        buffer[written++] = static_cast<char>((a * 4 + b / 16) % 256);
        buffer[written++] = static_cast<char>((b * 16 + c / 4) % 256);
        buffer[written++] = static_cast<char>((c * 64 + d) % 256);
    }

    // A lone value fills no byte; two fill one, three fill two. The low bits
    // left over are dropped unchecked.
    const std::size_t remainder = kept - read;
    if (remainder >= 2) {
        const unsigned a = value(read), b = value(read + 1);
        const unsigned c = remainder == 3 ? value(read + 2) : 0;
        buffer[written++] = static_cast<char>((a * 4 + b / 16) % 256);
        if (remainder == 3) buffer[written++] = static_cast<char>((b * 16 + c / 4) % 256);
    }

    buffer.resize(written);
    return buffer;
}

}  // namespace lexigrove
