// Standard input for lexigrove-cli, read in blocks into one buffer that
// grows in place, so that a long text is held once however it arrives.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <span>
#include <stdexcept>

namespace lexigrove {

// Reading the input failed (a folder, a closed descriptor, a device error).
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class InputReader {
public:
    // `beforeWait` runs before each read that may have to wait for more
    // input, so that what is done so far can be written out first.
    explicit InputReader(std::istream& in, std::function<void()> beforeWait = {});
    ~InputReader();
    InputReader(const InputReader&) = delete;
    InputReader& operator=(const InputReader&) = delete;

    // The next line, without its LF or CR LF; a last line without a line
    // break counts, without a final CR. Nothing once the input is used up. The bytes stay valid,
    // and may be changed, until the next call.
    std::optional<std::span<char>> NextLine();

private:
    // Reads one more block after what is held; false at the end of input.
    bool Fill();

    std::istream& in_;
    std::function<void()> beforeWait_;
    char* data_ = nullptr;
    std::size_t begin_ = 0;    // first byte not yet handed out
    std::size_t end_ = 0;      // end of the bytes read
    std::size_t scanned_ = 0;  // bytes after begin_ known to hold no LF
    std::size_t capacity_ = 0;
    bool atEnd_ = false;
};

}  // namespace lexigrove
