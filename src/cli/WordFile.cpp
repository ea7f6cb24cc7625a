#include "WordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace lexigrove {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

std::uint64_t Load8(const char* p) {
    std::uint64_t x;
    std::memcpy(&x, p, 8);
    return x;
}

// The top bit of each byte of `x` that lies in [low, high] (both below
// 128), the other bits clear: with the top bits cleared no sum carries into
// the next byte.
std::uint64_t InRange(std::uint64_t x, unsigned low, unsigned high) {
    const std::uint64_t bits = x & ~kHighs;
    return (bits + kOnes * (0x80 - low)) & ~(bits + kOnes * (0x7f - high)) & ~x & kHighs;
}

bool AllLetters(const char* p, std::size_t size) {
    std::uint64_t letters = kHighs;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) letters &= InRange(Load8(p + i), 'a', 'z');
    for (; i < size; ++i) letters &= p[i] >= 'a' && p[i] <= 'z' ? kHighs : 0;
    return letters == kHighs;
}

std::string ReadFile(const std::string& path) {
    const auto failed = [&](int error) {
        return WordFileError("cannot read the word list '" + path + "': " + std::strerror(error));
    };
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) throw failed(errno);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) throw failed(errno);
    if (S_ISDIR(info.st_mode)) throw failed(EISDIR);
    std::string data;
    std::size_t size = 0;
    data.resize(S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) + 1 : std::size_t{1} << 16);
    for (;;) {
        if (size == data.size()) data.resize(data.size() * 2);
        const ssize_t got = ::read(file.Get(), data.data() + size, data.size() - size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw failed(errno);
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
    }
    data.resize(size);
    return data;
}

// Sorts the words of a file as they mostly come: a few long runs in order
// (proper names apart from the other words, say), merged pairwise; words in
// many runs are sorted outright.
void SortMostlySorted(std::vector<std::string_view>& words) {
    constexpr std::size_t kMaxRuns = 64;
    std::vector<std::size_t> runs{0};
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] < words[i - 1]) runs.push_back(i);
        if (runs.size() > kMaxRuns) {
            std::sort(words.begin(), words.end());
            return;
        }
    }
    runs.push_back(words.size());
    std::vector<std::string_view> merged(words.size());
    const auto at = [](std::vector<std::string_view>& v, std::size_t i) {
        return v.begin() + static_cast<std::ptrdiff_t>(i);
    };
    while (runs.size() > 2) {
        std::size_t kept = 0;
        std::size_t r = 0;
        for (; r + 2 < runs.size(); r += 2) {
            std::merge(at(words, runs[r]), at(words, runs[r + 1]), at(words, runs[r + 1]), at(words, runs[r + 2]),
                       at(merged, runs[r]));
            runs[kept++] = runs[r];
        }
        if (r + 2 == runs.size()) {
            std::copy(at(words, runs[r]), at(words, runs[r + 1]), at(merged, runs[r]));
            runs[kept++] = runs[r];
        }
        runs[kept++] = runs.back();
        runs.resize(kept);
        words.swap(merged);
    }
}

}  // namespace

std::string WithThousands(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
    return digits;
}

WordFile::WordFile(const std::string& path) : data_(ReadFile(path)) {
    std::string& data = data_;
    if (data.find('\0') != std::string::npos)
        throw WordFileError("the word list '" + path + "' is not text (it holds NUL bytes)");
    // Eight bytes at a time: capitals lowercased in place, and for each line
    // whether it holds anything but letters a-z (or a CR, looked at again).
    std::size_t usable = 0;
    const char* const begin = data.data();
    std::size_t lineStart = 0;
    std::uint64_t badInLine = 0;
    std::uint64_t crInLine = 0;
    const auto take = [&](std::size_t lineEnd, bool bad, bool cr) {
        const char* const first = begin + lineStart;
        std::size_t size = lineEnd - lineStart;
        lineStart = lineEnd + 1;
        if (cr) {
            if (size > 0 && first[size - 1] == '\r') --size;
            bad = !AllLetters(first, size);
        }
        if (size == 0) return;
        if (!bad && size >= 2) {
            byList_[std::min<std::size_t>(size, 15)].emplace_back(first, size);
            ++usable;
        } else {
            ++skipped_;
        }
    };
    for (std::size_t at = 0; at < data.size(); at += 8) {
        // The last few bytes are read padded with letters.
        char padded[8] = {'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a'};
        const std::size_t n = std::min<std::size_t>(8, data.size() - at);
        std::memcpy(padded, begin + at, n);
        std::uint64_t chunk = Load8(padded);
        chunk |= InRange(chunk, 'A', 'Z') >> 2;
        std::memcpy(data.data() + at, &chunk, n);
        std::uint64_t lf = InRange(chunk, '\n', '\n');
        std::uint64_t cr = InRange(chunk, '\r', '\r');
        std::uint64_t bad = kHighs & ~(InRange(chunk, 'a', 'z') | lf | cr);
        while (lf != 0) {
            const int byte = std::countr_zero(lf) / 8;
            const std::uint64_t before = byte == 0 ? 0 : ~std::uint64_t{0} >> (64 - 8 * byte);
            take(at + static_cast<std::size_t>(byte), (badInLine | (bad & before)) != 0,
                 (crInLine | (cr & before)) != 0);
            const std::uint64_t through = byte == 7 ? ~std::uint64_t{0} : ~std::uint64_t{0} >> (56 - 8 * byte);
            bad &= ~through;
            cr &= ~through;
            lf &= lf - 1;
            badInLine = 0;
            crInLine = 0;
        }
        badInLine |= bad;
        crInLine |= cr;
    }
    if (lineStart < data.size()) take(data.size(), badInLine != 0, crInLine != 0);
    if (usable == 0) throw WordFileError("the word list '" + path + "' holds no word of two letters a-z or more");
}

// A list is put in order when a search first asks for it.
WordList WordFile::List(int length) const {
    WordList list;
    if (length < 2 || length > 15) return list;
    std::optional<std::string>& text = texts_[static_cast<std::size_t>(length)];
    if (!text) {
        std::vector<std::string_view>& words = byList_[static_cast<std::size_t>(length)];
        SortMostlySorted(words);
        words.erase(std::unique(words.begin(), words.end()), words.end());
        std::size_t bytes = 0;
        for (const std::string_view word : words) bytes += word.size() + 2;
        text.emplace(bytes, '\0');
        char* to = text->data();
        for (const std::string_view word : words) {
            std::memcpy(to, word.data(), word.size());
            to[word.size()] = '\r';
            to[word.size() + 1] = '\n';
            to += word.size() + 2;
        }
        std::vector<std::string_view>().swap(words);
    }
    list.SplitSortedWordsInPlace(*text);
    return list;
}

}  // namespace lexigrove
