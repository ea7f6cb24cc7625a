#include "InputReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ios>
#include <new>
#include <string>
#include <utility>

namespace lexigrove {

namespace {

constexpr std::size_t kBlock = 1 << 16;

using traits = std::char_traits<char>;

InputError ReadFailed(int error) {
    return InputError("cannot read standard input: " + std::string(error != 0 ? std::strerror(error) : "read error"));
}

}  // namespace

InputReader::InputReader(std::istream& in, std::function<void()> beforeWait)
    : in_(in), beforeWait_(std::move(beforeWait)) {}

InputReader::~InputReader() { std::free(data_); }

bool InputReader::Fill() {
    if (atEnd_) return false;
    if (begin_ != 0) {
        std::memmove(data_, data_ + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (capacity_ - end_ < kBlock) {
        // realloc moves a large block by remapping its pages, not copying
        // them, so a long line costs its own size and no more.
        const std::size_t capacity = std::max(capacity_ * 2, end_ + kBlock);
        char* const grown = static_cast<char*>(std::realloc(data_, capacity));
        if (grown == nullptr) throw std::bad_alloc();
        data_ = grown;
        capacity_ = capacity;
    }
    std::streambuf* const buffer = in_.rdbuf();
    if (buffer == nullptr) throw ReadFailed(EBADF);
    // Only what is there is taken, so that a line is answered without
    // waiting for a whole block after it; when nothing is, one read that
    // may wait, after `beforeWait_`.
    std::streamsize got = 0;
    errno = 0;
    try {
        std::streamsize available = buffer->in_avail();
        if (available <= 0) {
            if (beforeWait_) beforeWait_();
            errno = 0;
            if (traits::eq_int_type(buffer->sgetc(), traits::eof())) {
                // The stream buffer reports a failed read as the end of
                // input; errno tells the two apart.
                if (errno != 0 && errno != EINTR) throw ReadFailed(errno);
                atEnd_ = true;
                return false;
            }
            available = std::max<std::streamsize>(buffer->in_avail(), 1);
        }
        got = buffer->sgetn(data_ + end_, std::min(available, static_cast<std::streamsize>(capacity_ - end_)));
    } catch (const std::ios_base::failure&) {
        throw ReadFailed(errno);
    }
    if (got <= 0) {
        if (errno != 0 && errno != EINTR) throw ReadFailed(errno);
        atEnd_ = true;
        return false;
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

std::optional<std::span<char>> InputReader::NextLine() {
    for (;;) {
        const std::size_t from = begin_ + scanned_;
        const void* const lf = from < end_ ? std::memchr(data_ + from, '\n', end_ - from) : nullptr;
        if (lf != nullptr) {
            const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(lf) - data_);
            std::size_t size = at - begin_;
            if (size > 0 && data_[at - 1] == '\r') --size;
            const std::span<char> line(data_ + begin_, size);
            begin_ = at + 1;
            scanned_ = 0;
            return line;
        }
        scanned_ = end_ - begin_;
        if (!Fill()) break;
    }
    if (begin_ == end_) return std::nullopt;
    // A last line ending in a lone CR lost the LF of its CR LF.
    std::size_t size = end_ - begin_;
    if (data_[end_ - 1] == '\r') --size;
    const std::span<char> line(data_ + begin_, size);
    begin_ = end_;
    scanned_ = 0;
    return line;
}

}  // namespace lexigrove
