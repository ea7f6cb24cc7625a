#include "WordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "Ascii.h"
#include "LineSort.h"

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

// The list a plain word of `size` letters belongs to.
std::size_t ListOf(std::size_t size) { return std::min<std::size_t>(size, 15); }

bool IsPlainWord(std::string_view line) { return line.size() >= 2 && ascii::AllLetters(line); }

WordFileError ReadFailed(const std::string& path, int error) {
    return WordFileError("cannot read the word list '" + path + "': " + std::strerror(error));
}

// The file at `path`, open for reading: not a folder.
int Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw ReadFailed(path, errno);
    struct stat info {};
    const int error = ::fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error == 0) return fd;
    ::close(fd);
    throw ReadFailed(path, error);
}

// Reads what there is, up to the size of `into`: nothing at the end.
std::size_t ReadSome(const std::string& path, int fd, std::span<char> into) {
    for (;;) {
        const ssize_t got = ::read(fd, into.data(), into.size());
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) throw ReadFailed(path, errno);
    }
}

// Hands each line of the file at `path`, lowercased and without its LF, to
// `take(line, true)`; a line that goes on past what was read so far may
// come first in parts, each to `take(part, false)`. The first line comes
// without a byte-order mark, and a part never ends in a CR.
void ReadLines(const std::string& path, std::size_t piece, const std::function<void(std::string_view, bool)>& take) {
    const Descriptor file(Open(path));
    std::vector<char> block(std::max<std::size_t>(piece, 17));
    std::size_t held = 0;  // bytes not yet taken at the start of the block
    bool first = true;
    for (;;) {
        const std::size_t got = ReadSome(path, file.Get(), {block.data() + held, block.size() - held});
        // Looked at for NUL as it comes, so that a device such as /dev/zero
        // is not read on and on.
        const std::span<char> fresh(block.data() + held, got);
        if (std::memchr(fresh.data(), '\0', fresh.size()) != nullptr)
            throw WordFileError("the word list '" + path + "' is not text (it holds NUL bytes)");
        ascii::Lowercase(fresh);
        held += fresh.size();
        std::string_view rest(block.data(), held);
        if (first) {
            constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
            if (got > 0 && rest.size() < kByteOrderMark.size()) continue;
            if (rest.starts_with(kByteOrderMark)) rest.remove_prefix(kByteOrderMark.size());
            first = false;
        }
        for (std::size_t lf = rest.find('\n'); lf != std::string_view::npos; lf = rest.find('\n')) {
            take(rest.substr(0, lf), true);
            rest.remove_prefix(lf + 1);
        }
        if (got == 0) {
            take(rest, true);
            return;
        }
        // A line that goes on: what is read of it is taken when it is long,
        // but for a last CR, which may be that of a CR LF.
        if (rest.size() >= 16) {
            const std::size_t keep = rest.ends_with('\r') ? 1 : 0;
            take(rest.substr(0, rest.size() - keep), false);
            rest.remove_prefix(rest.size() - keep);
        }
        std::memmove(block.data(), rest.data(), rest.size());
        held = rest.size();
    }
}

}  // namespace

// The lists as the file is read: each word is added to its list as it comes,
// and each list is a chain of blocks in one area that grows, so that the
// area takes the words' size and a part-filled block a list. At the end the
// blocks are swapped into the order of the lists and closed up, which leaves
// each list in one piece.
class WordFile::Builder {
public:
    explicit Builder(std::unique_ptr<char, Free>& area) : area_(area) {}

    // Adds a line that ReadLines hands over, if it is a plain word. A line
    // that comes in parts is 15 letters and more: it is added as it comes,
    // and taken back if it turns out not to be a plain word.
    void Take(std::string_view line, bool ends) {
        if (part_ == Part::kSkipping) {
            if (ends) part_ = Part::kNone;
            return;
        }
        if (ends && line.ends_with('\r')) line.remove_suffix(1);
        if (part_ == Part::kNone && ends) {
            if (line.empty()) return;
            if (!IsPlainWord(line)) {
                ++skipped_;
                return;
            }
            Add(ListOf(line.size()), line);
            Add(ListOf(line.size()), "\n");
            return;
        }
        if (part_ == Part::kNone) {
            before_ = EndOf(15);
            part_ = Part::kAdding;
        }
        if (!ascii::AllLetters(line)) {
            ++skipped_;
            GoBack(15, before_);
            part_ = ends ? Part::kNone : Part::kSkipping;
            return;
        }
        Add(15, line);
        if (ends) {
            Add(15, "\n");
            part_ = Part::kNone;
        }
    }

    std::size_t Skipped() const { return skipped_; }

    // Puts each list in one piece at the start of the area.
    std::array<std::string_view, 16> Finish() {
        // Each block's place, counted through the lists in order, where the
        // number of the next block was.
        Block place = 0;
        for (const End& end : ends_)
            for (Block block = end.first; block != kNone;) {
                const Block next = Next(block);
                SetNext(block, place++);
                block = next;
            }
        std::vector<char> held(kBlock);
        for (Block block = 0; block < blocks_; ++block)
            while (Next(block) != block) {
                char* const here = area_.get() + std::size_t{block} * kBlock;
                char* const there = area_.get() + std::size_t{Next(block)} * kBlock;
                std::memcpy(held.data(), there, kBlock);
                std::memcpy(there, here, kBlock);
                std::memcpy(here, held.data(), kBlock);
            }
        std::array<std::string_view, 16> lists{};
        char* to = area_.get();
        Block block = 0;
        for (std::size_t list = 0; list < ends_.size(); ++list) {
            const End& end = ends_[list];
            if (end.first == kNone) continue;
            char* const start = to;
            for (std::size_t left = end.bytes; left > 0; ++block) {
                const std::size_t part = std::min(left, kRoom);
                std::memmove(to, Room(block), part);
                to += part;
                left -= part;
            }
            lists[list] = {start, end.bytes};
        }
        return lists;
    }

private:
    using Block = std::uint32_t;
    static constexpr std::size_t kBlock = std::size_t{1} << 16;
    // Each block starts with the number of the block after it in its list.
    static constexpr std::size_t kRoom = kBlock - sizeof(Block);
    static constexpr Block kNone = std::numeric_limits<Block>::max();

    // Where a list ends, to go back to.
    struct End {
        Block first = kNone;
        Block last = kNone;
        std::size_t filled = 0;  // bytes in the last block
        std::size_t bytes = 0;
        std::size_t blocks = 0;  // in the area
    };

    void Add(std::size_t list, std::string_view bytes) {
        End& end = ends_[list];
        while (!bytes.empty()) {
            if (end.last == kNone || end.filled == kRoom) {
                const Block block = NewBlock();
                SetNext(block, kNone);
                if (end.last == kNone)
                    end.first = block;
                else
                    SetNext(end.last, block);
                end.last = block;
                end.filled = 0;
            }
            const std::size_t part = std::min(kRoom - end.filled, bytes.size());
            std::memcpy(Room(end.last) + end.filled, bytes.data(), part);
            end.filled += part;
            end.bytes += part;
            bytes.remove_prefix(part);
        }
    }

    // Where `list` ends now.
    End EndOf(std::size_t list) const {
        End end = ends_[list];
        end.blocks = blocks_;
        return end;
    }

    // Drops what was added to `list` since `end`, when nothing was added to
    // another list since.
    void GoBack(std::size_t list, const End& end) {
        ends_[list] = end;
        blocks_ = end.blocks;
        if (end.last != kNone) SetNext(end.last, kNone);
    }

    Block NewBlock() {
        if (blocks_ == capacity_) {
            if (capacity_ >= kNone / 2) throw std::bad_alloc();
            const std::size_t capacity = std::max<std::size_t>(capacity_ * 2, 4);
            // realloc grows a large area by remapping its pages, not by
            // copying them.
            auto* const grown = static_cast<char*>(std::realloc(area_.get(), capacity * kBlock));
            if (grown == nullptr) throw std::bad_alloc();
            static_cast<void>(area_.release());
            area_.reset(grown);
            capacity_ = capacity;
        }
        return static_cast<Block>(blocks_++);
    }
    Block Next(Block block) const {
        Block next = 0;
        std::memcpy(&next, area_.get() + std::size_t{block} * kBlock, sizeof next);
        return next;
    }
    void SetNext(Block block, Block next) {
        std::memcpy(area_.get() + std::size_t{block} * kBlock, &next, sizeof next);
    }
    char* Room(Block block) { return area_.get() + std::size_t{block} * kBlock + sizeof(Block); }

    std::unique_ptr<char, Free>& area_;
    std::size_t blocks_ = 0;
    std::size_t capacity_ = 0;
    std::array<End, 16> ends_{};
    // A line that comes in parts is being added, or passed over.
    enum class Part { kNone, kAdding, kSkipping } part_ = Part::kNone;
    End before_;  // where the long words ended before it
    std::size_t skipped_ = 0;
};

std::string WithThousands(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
    return digits;
}

WordFile::WordFile(const std::string& path, std::size_t piece) {
    Builder lists(words_);
    ReadLines(path, piece, [&](std::string_view line, bool ends) { lists.Take(line, ends); });
    skipped_ = lists.Skipped();
    lists_ = lists.Finish();
    bool any = false;
    for (const std::string_view list : lists_) any = any || !list.empty();
    if (!any) throw WordFileError("the word list '" + path + "' holds no word of two letters a-z or more");
}

WordList WordFile::List(int length) const {
    WordList list;
    if (length < 2 || length > 15) return list;
    std::string_view& words = lists_[static_cast<std::size_t>(length)];
    if (!sorted_[static_cast<std::size_t>(length)]) {
        // Each list is put in order, where it stands, when a search first
        // asks for it, and each word kept once.
        char* const begin = words_.get() + (words.data() - words_.get());
        SortLines({begin, words.size()});
        std::size_t size = 0;
        std::string_view previous;
        for (std::size_t start = 0; start < words.size();) {
            const std::string_view word(begin + start, words.substr(start).find('\n'));
            start += word.size() + 1;
            if (word == previous) continue;
            std::memmove(begin + size, word.data(), word.size() + 1);
            previous = {begin + size, word.size()};
            size += word.size() + 1;
        }
        words = words.substr(0, size);
        sorted_[static_cast<std::size_t>(length)] = true;
    }
    list.SplitSortedWordsInPlace(words, length < 15 ? std::optional<std::size_t>(length) : std::nullopt);
    return list;
}

}  // namespace lexigrove
