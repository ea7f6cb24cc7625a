#include "WordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <span>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "Ascii.h"

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

// Hands each line of a text that arrives in pieces to `take`, lowercased
// (in the pieces themselves) and without its LF or CR LF: the first line
// without a byte-order mark, the last without a final CR. A NUL ends the
// text with an error.
class LineSplitter {
public:
    LineSplitter(const std::string& path, std::function<void(std::string_view)> take)
        : path_(path), take_(std::move(take)) {}

    void Feed(std::span<char> bytes) {
        std::string_view piece(bytes.data(), bytes.size());
        if (piece.find('\0') != std::string_view::npos)
            throw WordFileError("the word list '" + path_ + "' is not text (it holds NUL bytes)");
        ascii::Lowercase(bytes);
        while (!piece.empty()) {
            const std::size_t lf = piece.find('\n');
            if (lf == std::string_view::npos) {
                // A line that goes on in the next piece.
                partial_.append(piece);
                return;
            }
            if (partial_.empty()) {
                Take(piece.substr(0, lf));
            } else {
                partial_.append(piece.substr(0, lf));
                Take(partial_);
                partial_.clear();
            }
            piece.remove_prefix(lf + 1);
        }
    }
    void Finish() {
        if (!partial_.empty()) Take(partial_);
        partial_.clear();
    }

private:
    void Take(std::string_view line) {
        constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
        if (first_ && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
        first_ = false;
        if (line.ends_with('\r')) line.remove_suffix(1);
        take_(line);
    }

    const std::string& path_;
    std::function<void(std::string_view)> take_;
    std::string partial_;
    bool first_ = true;
};

// Reads the file at `path` through `read`, which is called once for each
// pass over it: `pass(piece)` for each piece of it in order, then `pass({})`
// once at its end. A plain file is read from the disk each time; anything
// else is read into memory once.
class Source {
public:
    explicit Source(const std::string& path) : path_(path), file_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (file_.Get() < 0) throw Failed(errno);
        struct stat info {};
        if (::fstat(file_.Get(), &info) != 0) throw Failed(errno);
        if (S_ISDIR(info.st_mode)) throw Failed(EISDIR);
        if (!S_ISREG(info.st_mode)) {
            // Checked for NUL as it comes, so that a device such as
            // /dev/zero is not read on and on.
            Read([this](std::span<char> bytes) {
                const std::string_view piece(bytes.data(), bytes.size());
                if (piece.find('\0') != std::string_view::npos) {
                    held_.append(piece.substr(0, piece.find('\0') + 1));
                    return false;
                }
                held_.append(piece);
                return true;
            });
            inMemory_ = true;
        }
    }

    // Runs `pass` over the whole text, stopping early when it returns false.
    void Pass(const std::function<bool(std::span<char>)>& pass) {
        if (inMemory_) {
            pass(held_);
            return;
        }
        if (::lseek(file_.Get(), 0, SEEK_SET) != 0) throw Failed(errno);
        Read(pass);
    }

private:
    WordFileError Failed(int error) const {
        return WordFileError("cannot read the word list '" + path_ + "': " + std::strerror(error));
    }
    void Read(const std::function<bool(std::span<char>)>& pass) {
        std::vector<char> block(std::size_t{1} << 16);
        for (;;) {
            const ssize_t got = ::read(file_.Get(), block.data(), block.size());
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw Failed(errno);
            if (got == 0 || !pass(std::span<char>(block.data(), static_cast<std::size_t>(got)))) return;
        }
    }

    const std::string& path_;
    Descriptor file_;
    std::string held_;
    bool inMemory_ = false;
};

// The list a plain word of `size` letters belongs to.
std::size_t ListOf(std::size_t size) { return std::min<std::size_t>(size, 15); }

bool IsPlainWord(std::string_view line) { return line.size() >= 2 && ascii::AllLetters(line); }

// Sorts the `count` words of `Width` letters, each followed by LF, at
// `list`, where they stand, and drops their duplicates; returns the bytes
// left.
template <std::size_t Width>
std::size_t SortWidth(char* list, std::size_t count) {
    using Line = std::array<char, Width + 1>;
    // The vector's bytes hold the lines as arrays of bytes.
    const std::span<Line> lines(reinterpret_cast<Line*>(list), count);
    const auto before = [](const Line& a, const Line& b) {
        return std::string_view(a.data(), Width) < std::string_view(b.data(), Width);
    };
    std::sort(lines.begin(), lines.end(), before);
    const auto end = std::unique(lines.begin(), lines.end());
    return static_cast<std::size_t>(end - lines.begin()) * sizeof(Line);
}

std::size_t SortFixedWidth(char* list, std::size_t count, std::size_t width) {
    using Sorter = std::size_t (*)(char*, std::size_t);
    static constexpr auto kSorters = []<std::size_t... Widths>(std::index_sequence<Widths...>) {
        return std::array<Sorter, sizeof...(Widths)>{&SortWidth<Widths + 2>...};
    }
    (std::make_index_sequence<13>());
    return kSorters.at(width - 2)(list, count);
}

template <typename Offset>
constexpr Offset kDropped = std::numeric_limits<Offset>::max();

// Where each of the `count` words of 15 letters and more in `list` (each
// followed by LF, in the order of the file) goes once the list is in order,
// kDropped for a repeat, in the order of the file; and the bytes of the
// list in order. The words are sorted through where they stand; each word's
// new place is then written over its first bytes, for which a word of 15
// letters has room, and read back in the order of the file.
template <typename Offset>
std::pair<std::vector<Offset>, std::size_t> LongWordPlaces(std::span<char> list, std::size_t count) {
    static_assert(sizeof(Offset) < 15);
    const std::string_view all(list.data(), list.size());
    const auto word = [&](std::size_t start) { return all.substr(start, all.find('\n', start) - start); };
    std::vector<Offset> places;
    places.reserve(count);
    for (std::size_t start = 0; start < all.size(); start += word(start).size() + 1)
        places.push_back(static_cast<Offset>(start));
    std::sort(places.begin(), places.end(), [&](Offset a, Offset b) { return word(a) < word(b); });
    // Repeats are neighbours now; a word is written over only once the word
    // after it was compared with it.
    const auto stamp = [&](Offset at, Offset to) { std::memcpy(list.data() + at, &to, sizeof to); };
    std::size_t size = 0;
    Offset previousTo = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const std::string_view next = word(places[i]);
        const bool repeat = i > 0 && next == word(places[i - 1]);
        if (i > 0) stamp(places[i - 1], previousTo);
        previousTo = repeat ? kDropped<Offset> : static_cast<Offset>(size);
        if (!repeat) size += next.size() + 1;
    }
    if (!places.empty()) stamp(places.back(), previousTo);
    std::size_t i = 0;
    for (std::size_t start = 0; start < all.size(); start = all.find('\n', start + sizeof(Offset)) + 1)
        std::memcpy(&places[i++], list.data() + start, sizeof(Offset));
    return {std::move(places), size};
}

// Reads the file once more, handing each of its lines to `take`.
using Reread = std::function<void(const std::function<void(std::string_view)>&)>;

// Puts the `count` words of 15 letters and more in `list` (in the order of
// the file) in order, each copied from the file once more to its place, and
// drops repeats; returns the bytes left.
template <typename Offset>
std::size_t PutLongWordsInOrder(std::span<char> list, std::size_t count, const Reread& pass,
                                const std::function<WordFileError()>& changed) {
    const auto placed = LongWordPlaces<Offset>(list, count);
    const std::vector<Offset>& places = placed.first;
    const std::size_t size = placed.second;
    std::size_t i = 0;
    pass([&](std::string_view line) {
        if (line.size() < 15 || !IsPlainWord(line)) return;
        if (i == places.size()) throw changed();
        const std::size_t to = places[i++];
        if (to == kDropped<Offset>) return;
        if (to + line.size() + 1 > size) throw changed();
        std::memcpy(list.data() + to, line.data(), line.size());
        list[to + line.size()] = '\n';
    });
    if (i != places.size()) throw changed();
    // A file that changed between the readings may have left them out of
    // order.
    std::string_view previous;
    for (std::string_view rest(list.data(), size); !rest.empty(); rest.remove_prefix(previous.size() + 1)) {
        const std::string_view word = rest.substr(0, rest.find('\n'));
        if (!previous.empty() && previous >= word) throw changed();
        previous = word;
    }
    return size;
}

}  // namespace

std::string WithThousands(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
    return digits;
}

WordFile::WordFile(const std::string& path) {
    Source source(path);
    const auto pass = [&](const std::function<void(std::string_view)>& take) {
        LineSplitter lines(path, take);
        source.Pass([&](std::span<char> piece) {
            lines.Feed(piece);
            return true;
        });
        lines.Finish();
    };

    // First the words and bytes of each list.
    std::array<std::size_t, 16> words{};
    std::array<std::size_t, 16> bytes{};
    pass([&](std::string_view line) {
        if (line.empty()) return;
        if (!IsPlainWord(line)) {
            ++skipped_;
            return;
        }
        ++words[ListOf(line.size())];
        bytes[ListOf(line.size())] += line.size() + 1;
    });
    std::size_t usable = 0;
    for (const std::size_t count : words) usable += count;
    if (usable == 0) throw WordFileError("the word list '" + path + "' holds no word of two letters a-z or more");
    for (const std::size_t count : words)
        if (count > std::numeric_limits<std::uint32_t>::max())
            throw WordFileError("the word list '" + path + "' holds too many words");

    // Then each word where its list goes, each list in order.
    std::array<std::size_t, 16> start{};
    std::size_t total = 0;
    for (std::size_t list = 0; list < bytes.size(); ++list) {
        start[list] = total;
        total += bytes[list];
    }
    words_.resize(total);
    std::array<std::size_t, 16> next = start;
    const auto changed = [&] { return WordFileError("the word list '" + path + "' changed while it was read"); };
    pass([&](std::string_view line) {
        if (line.empty() || !IsPlainWord(line)) return;
        const std::size_t list = ListOf(line.size());
        std::size_t& at = next[list];
        if (at + line.size() + 1 > start[list] + bytes[list]) throw changed();
        std::memcpy(words_.data() + at, line.data(), line.size());
        words_[at + line.size()] = '\n';
        at += line.size() + 1;
    });
    for (std::size_t list = 0; list < lists_.size(); ++list)
        if (next[list] != start[list] + bytes[list]) throw changed();
    for (std::size_t list = 0; list < lists_.size(); ++list)
        lists_[list] = std::string_view(words_.data() + start[list], bytes[list]);
    counts_ = words;

    // The words of 15 letters and more are put in order now.
    const std::span<char> longWords(words_.data() + start[15], bytes[15]);
    const std::size_t inOrder = longWords.size() < std::numeric_limits<std::uint32_t>::max()
                                    ? PutLongWordsInOrder<std::uint32_t>(longWords, words[15], pass, changed)
                                    : PutLongWordsInOrder<std::size_t>(longWords, words[15], pass, changed);
    lists_[15] = std::string_view(longWords.data(), inOrder);
    sorted_[15] = true;
}

WordList WordFile::List(int length) const {
    WordList list;
    if (length < 2 || length > 15) return list;
    const auto at = static_cast<std::size_t>(length);
    if (!sorted_[at]) {
        char* const begin = words_.data() + (lists_[at].data() - words_.data());
        lists_[at] = lists_[at].substr(0, SortFixedWidth(begin, counts_[at], at));
        sorted_[at] = true;
    }
    list.SplitSortedWordsInPlace(lists_[at], length < 15 ? std::optional<std::size_t>(length) : std::nullopt);
    return list;
}

}  // namespace lexigrove
