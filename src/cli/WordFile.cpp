#include "WordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>
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

// The file's bytes up to the first NUL, which ends them: a file holding one
// is not text, and a device such as /dev/zero holds nothing else. Read in
// blocks, so that nothing past the NUL is read.
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
    // Room for the whole of a plain file up front; the pages are only
    // used as they are filled.
    if (S_ISREG(info.st_mode)) data.reserve(static_cast<std::size_t>(info.st_size));
    std::vector<char> block(std::size_t{1} << 16);
    for (;;) {
        const ssize_t got = ::read(file.Get(), block.data(), block.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw failed(errno);
        if (got == 0) break;
        const std::string_view read(block.data(), static_cast<std::size_t>(got));
        if (read.find('\0') != std::string_view::npos)
            throw WordFileError("the word list '" + path + "' is not text (it holds NUL bytes)");
        data.append(read);
    }
    return data;
}

}  // namespace

std::string WithThousands(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
    return digits;
}

WordFile::WordFile(const std::string& path) : data_(ReadFile(path)) {
    // A byte-order mark says the file is UTF-8; it is no part of the first
    // word.
    constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
    std::string_view rest(data_);
    if (rest.starts_with(kByteOrderMark)) rest.remove_prefix(kByteOrderMark.size());
    ascii::Lowercase(std::span<char>(data_).subspan(data_.size() - rest.size()));
    std::size_t usable = 0;
    while (!rest.empty()) {
        const std::size_t lf = rest.find('\n');
        std::string_view line = rest.substr(0, lf);
        rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.size() >= 2 && ascii::AllLetters(line)) {
            byList_[std::min<std::size_t>(line.size(), 15)].push_back(line);
            ++usable;
        } else {
            ++skipped_;
        }
    }
    if (usable == 0) throw WordFileError("the word list '" + path + "' holds no word of two letters a-z or more");
}

// A list is put in order when a search first asks for it.
WordList WordFile::List(int length) const {
    WordList list;
    if (length < 2 || length > 15) return list;
    std::optional<std::string>& text = texts_[static_cast<std::size_t>(length)];
    if (!text) {
        std::vector<std::string_view>& words = byList_[static_cast<std::size_t>(length)];
        std::sort(words.begin(), words.end());
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
