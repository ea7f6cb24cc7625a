#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Cli.h"
#include "LineSort.h"
#include "PlainRules.h"
#include "WordFile.h"

namespace lexigrove {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Cli(const std::vector<std::string>& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunCli(args, in, out, err);
    return {status, out.str(), err.str()};
}

bool IsUsageError(const Outcome& run, const std::string& what) {
    return run.status == 2 && run.out.empty() && run.err.rfind("lexigrove-cli: " + what, 0) == 0 &&
           run.err.find("\nusage: lexigrove-cli unscramble [--lengths LIST] [OPTION]... TEXT\n") != std::string::npos;
}

TEST(Cli, SearchesWriteOneLinePerResult) {
    EXPECT_EQ(Cli({"unscramble", "tca"}).out, "at\nta\nact\ncat\n");
    EXPECT_EQ(Cli({"unscramble", "--lengths", "3", "TCA"}).out, "act\ncat\n");
    EXPECT_EQ(Cli({"unscramble", "--lengths=2", "tca"}).out, "at\nta\n");
    EXPECT_EQ(Cli({"wild", "c?t"}).out, "cat\ncot\ncut\n");
    EXPECT_EQ(Cli({"exact", "zyzzyva"}).out, "zyzzyva - Found\n");
    const Outcome none = Cli({"exact", "qzx"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "qzx - Not Found\n");
    const Outcome nothing = Cli({"unscramble", "xq1"});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(nothing.out, "");
    EXPECT_EQ(nothing.err, "");
    EXPECT_EQ(Cli({"wild", "x"}).out, "");
}

TEST(Cli, TextIsUsedByteForByte) {
    const std::string odd = "\xc3\xa9t\xff\x01 ?";
    EXPECT_EQ(Cli({"exact", odd}).out, odd + " - Not Found\n");
    EXPECT_EQ(Cli({"exact", "--", "-ab"}).out, "-ab - Not Found\n");
    EXPECT_EQ(Cli({"exact", "--", "-"}).out, "");  // after "--" a lone "-" is one character
}

TEST(Cli, DashRunsOneSearchPerLine) {
    const std::string separator = "-----------------------------\n";
    EXPECT_EQ(Cli({"exact", "-"}, "cat\ndog\r\n\nZZZ").out,
              "cat - Found\n" + separator + "dog - Found\n" + separator + "zzz - Not Found\n");
    EXPECT_EQ(Cli({"exact", "--no-separator", "-"}, "cat\r\n\r\ndog\n").out, "cat - Found\ndog - Found\n");
    // As in the window's log: no separator until a search has left a line.
    EXPECT_EQ(Cli({"unscramble", "-"}, "xq\ntca\nab\n").out, "at\nta\nact\ncat\n" + separator + "ab\nba\n");
    EXPECT_EQ(Cli({"unscramble", "--lengths", "2", "-"}, std::string("t").append(1000000, '1').append("a\n")).out,
              "at\nta\n");
    EXPECT_EQ(Cli({"exact", "-"}, "a b\n").out, "a b - Not Found\n");  // a line is one TEXT, spaces and all
    for (const char* input : {"", "\n", "\r\n\n"}) {
        const Outcome empty = Cli({"wild", "-"}, input);
        EXPECT_EQ(empty.status, 1);
        EXPECT_EQ(empty.out, "");
        EXPECT_EQ(empty.err, "No letters entered!\n");
    }
}

// Input whose next line is only handed over once the output so far shows
// the results of the line before, as a program driving lexigrove-cli
// through pipes would.
class AnswerFirst : public std::streambuf {
public:
    AnswerFirst(std::vector<std::string> lines, const std::ostringstream& out) : lines_(std::move(lines)), out_(out) {}
    std::vector<std::string> seen;  // the output whenever a line was asked for

protected:
    int_type underflow() override {
        if (next_ == lines_.size()) return traits_type::eof();
        seen.push_back(out_.str());
        current_ = lines_[next_++];
        setg(current_.data(), current_.data(), current_.data() + current_.size());
        return traits_type::to_int_type(current_[0]);
    }

private:
    std::vector<std::string> lines_;
    const std::ostringstream& out_;
    std::size_t next_ = 0;
    std::string current_;
};

TEST(Cli, EachLineIsAnsweredBeforeTheNextIsRead) {
    std::ostringstream out, err;
    AnswerFirst input({"cat\n", "zzz\n"}, out);
    std::istream in(&input);
    EXPECT_EQ(RunCli({"exact", "--no-separator", "-"}, in, out, err), 0);
    EXPECT_EQ(input.seen, (std::vector<std::string>{"", "cat - Found\n"}));
    EXPECT_EQ(out.str(), "cat - Found\nzzz - Not Found\n");
}

TEST(Cli, CountWritesOneNumberPerSearch) {
    EXPECT_EQ(Cli({"unscramble", "--count", "-"}, "tca\nxq\n??\n").out, "4\n0\n96\n");
    EXPECT_EQ(Cli({"exact", "--count", "-"}, "cat\nqzx\nzyzzyva\n").out, "1\n0\n1\n");
    EXPECT_EQ(Cli({"wild", "--count", "c?t"}).out, "3\n");
    EXPECT_EQ(Cli({"unscramble", "--count", "--lengths=3", "tca"}).out, "2\n");
}

TEST(Cli, EmptyTextIsStatusOne) {
    for (const char* command : {"unscramble", "wild", "exact"}) {
        const Outcome run = Cli({command, ""});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_EQ(run.err, "No letters entered!\n") << command;
    }
}

TEST(Cli, LengthLists) {
    auto ticked = [](const std::string& list) {
        std::string marks;
        const auto parsed = ParseLengths(list);
        if (!parsed) return std::string("error");
        for (bool on : *parsed) marks += on ? 'x' : '.';
        return marks;
    };
    EXPECT_EQ(ticked("2-15"), "xxxxxxxxxxxxxx");
    EXPECT_EQ(ticked("3,5,7-9"), ".x.x.xxx......");
    EXPECT_EQ(ticked("15"), ".............x");
    EXPECT_EQ(ticked("2,2,2-3"), "xx............");
    EXPECT_EQ(ticked("07"), ".....x........");
    for (const char* bad : {"", "1", "16", "0-3", "9-7", "3,", ",3", "3,,4", "a", "3-", "-3", "2-15-", " 3", "3 ", "+3",
                            "100", "3-4-5", "2.5"})
        EXPECT_EQ(ticked(bad), "error") << '"' << bad << '"';
    EXPECT_EQ(Cli({"unscramble", "--lengths", "15", std::string(20, '?')}).out.substr(0, 17), "absentmindedness\n");
}

TEST(Cli, UsageErrors) {
    EXPECT_TRUE(IsUsageError(Cli({}), "no command"));
    EXPECT_TRUE(IsUsageError(Cli({"find", "abc"}), "unknown command 'find'"));
    EXPECT_TRUE(IsUsageError(Cli({"unscramble"}), "no TEXT"));
    EXPECT_TRUE(IsUsageError(Cli({"unscramble", "ab", "cd"}), "more than one TEXT"));
    EXPECT_TRUE(IsUsageError(Cli({"unscramble", "--lengths"}), "--lengths needs"));
    EXPECT_TRUE(IsUsageError(Cli({"unscramble", "--lengths", "1-3", "ab"}), "bad --lengths '1-3'"));
    EXPECT_TRUE(IsUsageError(Cli({"wild", "--lengths", "3", "ab"}), "unknown option '--lengths' for wild"));
    EXPECT_TRUE(IsUsageError(Cli({"exact", "-x"}), "unknown option '-x'"));
    EXPECT_TRUE(IsUsageError(Cli({"--help", "x"}), "--help takes no arguments"));
    EXPECT_TRUE(IsUsageError(Cli({"--version", "x"}), "--version takes no arguments"));
    // What the user typed is quoted cut to a readable length.
    const Outcome longLengths = Cli({"unscramble", "--lengths", std::string(100000, '9'), "ab"});
    EXPECT_TRUE(IsUsageError(longLengths, "bad --lengths '9999999999"));
    EXPECT_LT(longLengths.err.size(), 400u);
    EXPECT_NE(longLengths.err.find("...' (100000 characters)"), std::string::npos);
}

TEST(Cli, HelpAndVersion) {
    const Outcome help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: lexigrove-cli unscramble [--lengths LIST] [OPTION]... TEXT\n", 0), 0u);
    EXPECT_EQ(help.err, "");
    // After a command too, and whatever else was given.
    for (const auto& args : {std::vector<std::string>{"unscramble", "--help"},
                             {"exact", "x", "-h"},
                             {"wild", "--count", "--help", "c?t"}}) {
        const Outcome run = Cli(args);
        EXPECT_EQ(run.status, 0) << args[0];
        EXPECT_EQ(run.out, help.out) << args[0];
    }
    EXPECT_EQ(Cli({"exact", "--", "--help"}).out, "--help - Not Found\n");
    // How '?' works, as the help says it.
    EXPECT_NE(help.out.find("'?grove' and 'grove?' differ"), std::string::npos);
    EXPECT_NE(help.out.find("'?' is taken literally"), std::string::npos);
    const Outcome version = Cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "lexigrove-cli " LEXIGROVE_TEST_VERSION "\n");
}

// A file of this process's own in the test folder, holding `text`.
std::string TempFile(const std::string& name, const std::string& text) {
    std::string path = ::testing::TempDir() + "/lexigrove-cli-" + std::to_string(getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(CliWords, SearchesTheFileByTheSameRules) {
    const std::string path =
        TempFile("words.txt", "Cat\ncat\nca't\n\xc3\xa9t\xc3\xa9\na\nDOG\r\ndog\n\nzyzzyva\nx1\nBB\nscattered\n");
    const Outcome exact = Cli({"exact", "--words", path, "--no-separator", "-"}, "cat\nZYZZYVA\nbb\nca't\n");
    EXPECT_EQ(exact.status, 0);
    EXPECT_EQ(exact.out, "cat - Found\nzyzzyva - Found\nbb - Found\nca't - Not Found\n");
    EXPECT_EQ(exact.err, "lexigrove-cli: skipped 4 entries of " + path + " that are not plain words\n");
    EXPECT_EQ(Cli({"unscramble", "--words=" + path, "tcaodgb?"}).out, "bb\ncat\ndog\n");
    EXPECT_EQ(Cli({"wild", "--words", path, "?at"}).out, "cat\n");
    EXPECT_EQ(Cli({"wild", "--words", path, "???tt?r??"}).out, "scattered\n");
    EXPECT_EQ(Cli({"unscramble", "--count", "--words", path, "-"}, "scattered\nbb\n").out, "2\n1\n");

    std::string many;
    for (int i = 0; i < 1234; ++i) many += "it's\n";
    const std::string manyPath = TempFile("many.txt", many + "ab\n");
    EXPECT_EQ(Cli({"exact", "--words", manyPath, "ab"}).err,
              "lexigrove-cli: skipped 1,234 entries of " + manyPath + " that are not plain words\n");
    EXPECT_EQ(WithThousands(0), "0");
    EXPECT_EQ(WithThousands(999), "999");
    EXPECT_EQ(WithThousands(1000), "1,000");
    EXPECT_EQ(WithThousands(1234567), "1,234,567");
}

// Words in any order come out in the list's order, every word kept: the
// file's first and second words are out of order, and words end in 'z'.
TEST(CliWords, WordsAreSortedAndNoneIsLost) {
    const std::string path = TempFile("order.txt", "tac\ncat\nact\nbuzz\nquiz\nzzz\nfez\naz\n");
    EXPECT_EQ(Cli({"unscramble", "tca"}).out, "at\nta\nact\ncat\n");
    EXPECT_EQ(Cli({"unscramble", "--words", path, "tca"}).out, "act\ncat\ntac\n");
    EXPECT_EQ(Cli({"wild", "--words", path, "???"}).out, "act\ncat\nfez\ntac\nzzz\n");
    EXPECT_EQ(Cli({"wild", "--words", path, "??"}).out, "az\n");
    EXPECT_EQ(Cli({"exact", "--no-separator", "--words", path, "-"}, "buzz\nquiz\nfez\ncat\n").out,
              "buzz - Found\nquiz - Found\nfez - Found\ncat - Found\n");
}

// A UTF-8 byte-order mark is no part of the first word; a last line ending
// in a lone CR is searched without it.
TEST(CliWords, ByteOrderMarkAndLastCarriageReturn) {
    const std::string path = TempFile("bom.txt",
                                      "\xef\xbb\xbf"
                                      "cat\r\ndog\r\n");
    const Outcome run = Cli({"exact", "--no-separator", "--words", path, "-"}, "cat\ndog\r");
    EXPECT_EQ(run.out, "cat - Found\ndog - Found\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Cli({"exact", "-"}, "cat\r").out, "cat - Found\n");
}

// A file without a word of the pattern's length finds nothing, and every
// line of the input is still searched.
TEST(CliWords, NoWordOfTheLengthFindsNothing) {
    const std::string path = TempFile("five.txt", "crane\nslate\n");
    const Outcome one = Cli({"wild", "--words", path, "c?t"});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, "");
    EXPECT_EQ(one.err, "");
    const Outcome lines = Cli({"wild", "--words", path, "-"}, "c?t\ncr?ne\n?late\n");
    EXPECT_EQ(lines.status, 0);
    EXPECT_EQ(lines.out, "crane\n-----------------------------\nslate\n");
    EXPECT_EQ(Cli({"unscramble", "--words", path, "-"}, "tca\nlates\n").out, "slate\n");
}

TEST(CliWords, UnusableFilesAreStatusTwo) {
    const auto refused = [](const std::string& path, const std::string& what) {
        const Outcome run = Cli({"exact", "--words", path, "cat"});
        EXPECT_EQ(run.status, 2) << path;
        EXPECT_EQ(run.out, "") << path;
        EXPECT_EQ(run.err.rfind("lexigrove-cli: " + what, 0), 0u) << run.err;
    };
    refused(::testing::TempDir() + "/lexigrove-no-such-file", "cannot read the word list");
    refused("/", "cannot read the word list '/': Is a directory");
    refused(TempFile("binary.txt", std::string("cat\0dog\n", 8)), "the word list");
    refused(TempFile("none.txt", "a\nx1\n\n"), "the word list");
    EXPECT_NE(
        Cli({"exact", "--words", TempFile("binary.txt", std::string("cat\0dog\n", 8)), "cat"}).err.find("not text"),
        std::string::npos);
    EXPECT_TRUE(IsUsageError(Cli({"exact", "--words"}), "--words needs a FILE"));
}

// 2,000 lines of a, b and c, one in ten 15 to 314 bytes long, in no order
// (shape 0), sorted (1) or in reverse (2).
std::vector<std::string> SomeLines(std::mt19937& random, int shape) {
    std::vector<std::string> lines;
    for (int i = 0; i < 2000; ++i) {
        const std::size_t size = random() % 10 == 0 ? 15 + random() % 300 : 2 + random() % 6;
        std::string line;
        for (std::size_t j = 0; j < size; ++j) line += static_cast<char>('a' + random() % 3);
        lines.push_back(line);
    }
    if (shape == 1) std::sort(lines.begin(), lines.end());
    if (shape == 2) std::sort(lines.rbegin(), lines.rend());
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// Lines put in order where they stand agree with std::sort, whatever part
// of them fits the copy: sorted through it whole, merged from either end,
// or merged around a line moved to its place.
TEST(LineSort, AgreesWithStdSort) {
    std::mt19937 random(3);
    for (const std::size_t buffer : {1u, 5u, 64u, 700u, 1u << 18}) {
        for (int shape = 0; shape < 3; ++shape) {
            std::vector<std::string> lines = SomeLines(random, shape);
            std::string text = Joined(lines);
            SortLines(text, buffer);
            std::sort(lines.begin(), lines.end());
            EXPECT_TRUE(text == Joined(lines)) << "buffer " << buffer << ", shape " << shape;
        }
    }
}

// A word file that is hard to read in pieces, and its plain words in order.
struct AwkwardFile {
    std::string text;
    std::vector<std::string> plain;
};

// Lines of 1 to 25 letters, some with capitals, a CR LF, a CR or a letter
// that is not a-z; three of 100,000 letters, one of them plain; more than a
// block of one list after one of those; a byte-order mark; no last LF.
AwkwardFile MakeAwkwardFile() {
    std::mt19937 random(11);
    const auto letters = [&](std::size_t size) {
        std::string word;
        for (std::size_t j = 0; j < size; ++j) word += static_cast<char>("abcdeZ"[random() % 6]);
        return word;
    };
    std::vector<std::string> lines;
    for (int i = 0; i < 2000; ++i) {
        std::string line = letters(1 + random() % 25);
        if (random() % 8 == 0) line[random() % line.size()] = "1'\r"[random() % 3];
        lines.push_back(line + (random() % 4 == 0 ? "\r\n" : "\n"));
        if (i == 500) lines.push_back(letters(100000) + "\r\n");
        if (i == 1000) lines.push_back(letters(90000) + "1" + letters(10000) + "\n");
        if (i == 1900) lines.push_back(letters(20) + "\n" + letters(99990) + "'" + letters(9) + "\n");
        if (i == 1900)
            for (int j = 0; j < 14000; ++j) lines.push_back(letters(4) + "\n");
    }
    lines.emplace_back("quiz");
    AwkwardFile file{"\xef\xbb\xbf", {}};
    for (const std::string& line : lines) file.text += line;
    std::istringstream read(file.text.substr(3));
    for (std::string word; std::getline(read, word);) {
        if (!word.empty() && word.back() == '\r') word.pop_back();
        word = plain::Lower(word);
        if (word.size() >= 2 && word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos)
            file.plain.push_back(word);
    }
    std::sort(file.plain.begin(), file.plain.end());
    file.plain.erase(std::unique(file.plain.begin(), file.plain.end()), file.plain.end());
    return file;
}

// The words of every list of `file`, in order.
std::vector<std::string> AllWords(const WordFile& file) {
    std::vector<std::string> words;
    for (int length = 2; length <= 15; ++length)
        for (const std::string_view word : file.List(length)) words.emplace_back(word);
    std::sort(words.begin(), words.end());
    return words;
}

// `text` read as a word file through a pipe, the first three bytes a byte
// at a time.
std::vector<std::string> AllWordsThroughAPipe(const std::string& text) {
    int ends[2];
    if (pipe(ends) != 0) return {};
    std::thread writer([&] {
        std::mt19937 random(13);
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t piece = at < 3 ? 1 : std::min<std::size_t>(text.size() - at, 1 + random() % 3000);
            if (write(ends[1], text.data() + at, piece) <= 0) break;
            at += piece;
            if (at <= 3) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        close(ends[1]);
    });
    std::vector<std::string> words;
    try {
        words = AllWords(WordFile("/dev/fd/" + std::to_string(ends[0])));
    } catch (const WordFileError& e) {
        ADD_FAILURE() << e.what();
    }
    // A writer left with bytes to write gets EPIPE rather than the signal.
    const auto pipeSignal = std::signal(SIGPIPE, SIG_IGN);
    close(ends[0]);
    writer.join();
    std::signal(SIGPIPE, pipeSignal);
    return words;
}

// Every list holds each plain word of a file once however the file
// arrives: lines, CR LF and the byte-order mark broken between reads
// anywhere, and lines of 15 letters and more going on through many reads
// and through the blocks the lists are kept in, some to end in a letter
// that is not a-z.
TEST(CliWords, ListsAreWholeHoweverTheFileArrives) {
    const AwkwardFile file = MakeAwkwardFile();
    const std::string path = TempFile("awkward.txt", file.text);
    for (const std::size_t piece : {17u, 18u, 20u, 29u, 64u, 4096u, 1u << 16})
        EXPECT_TRUE(AllWords(WordFile(path, piece)) == file.plain) << "read " << piece << " bytes at a time";
    EXPECT_TRUE(AllWordsThroughAPipe(file.text) == file.plain) << "read through a pipe";
}

// The plain rules over a word list read plainly, against lexigrove-cli
// reading the same file with --words.
class PlainList {
public:
    explicit PlainList(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::string line;
        while (std::getline(file, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            line = plain::Lower(std::move(line));
            if (line.size() >= 2 && line.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos)
                words_.push_back(line);
        }
        std::sort(words_.begin(), words_.end());
        words_.erase(std::unique(words_.begin(), words_.end()), words_.end());
    }
    const std::vector<std::string>& Words() const { return words_; }

    std::vector<std::string> Unscramble(const std::string& text) const {
        std::vector<std::string> found;
        for (std::size_t length = 2; length <= 15 && length <= text.size(); ++length)
            for (const std::string& w : words_)
                if ((length < 15 ? w.size() == length : w.size() >= 15) && plain::Spells(text, w)) found.push_back(w);
        return found;
    }
    std::vector<std::string> Wild(const std::string& text) const {
        std::vector<std::string> found;
        const std::size_t m = std::min<std::size_t>(text.size(), 15);
        if (m < 2) return found;
        for (const std::string& w : words_)
            if ((m < 15 ? w.size() == m : w.size() >= 15) && plain::PatternFound(w, text)) found.push_back(w);
        return found;
    }
    std::vector<std::string> Exact(const std::string& text) const {
        if (text.size() < 2) return {};
        const bool found = std::binary_search(words_.begin(), words_.end(), text);
        return {text + (found ? " - Found" : " - Not Found")};
    }

private:
    std::vector<std::string> words_;
};

// Random texts, one search per line, with the separators of the log.
// A search text for `command` made from a word of the list: for unscramble
// shuffled, with a letter more and maybe one '?'; for wild with letters
// turned into '?' and maybe cut to 15; for exact now and then one letter
// changed.
std::string TextFor(const std::string& command, std::string text, std::mt19937& random) {
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    if (command == "unscramble") {
        std::shuffle(text.begin(), text.end(), random);
        text += "aeiost?"[below(7)];
        if (below(3) == 0) text[below(text.size())] = '?';
    } else if (command == "wild") {
        for (char& c : text)
            if (below(3) == 0) c = '?';
        if (text.size() > 15 && below(2) == 0) text = text.substr(below(text.size() - 14), 15);
    } else if (below(2) == 0) {
        text[below(text.size())] = "xq'"[below(3)];
    }
    return text;
}

void CompareWithThePlainRule(const std::string& path) {
    const PlainList reference(path);
    ASSERT_GT(reference.Words().size(), 50000u) << path << ": install wamerican and wbritish (./dev test does)";
    std::mt19937 random(7);
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    const std::string separator = "-----------------------------";
    for (const char* command : {"unscramble", "wild", "exact"}) {
        std::string input;
        std::vector<std::string> expected;
        for (int i = 0; i < 120; ++i) {
            const std::string text = TextFor(command, reference.Words()[below(reference.Words().size())], random);
            std::string typed = text;
            if (below(2) == 0) typed[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(typed[0])));
            input += typed;
            input += below(4) == 0 ? "\r\n" : "\n";
            const std::vector<std::string> found = std::string(command) == "unscramble" ? reference.Unscramble(text)
                                                   : std::string(command) == "wild"     ? reference.Wild(text)
                                                                                        : reference.Exact(text);
            if (!expected.empty()) expected.push_back(separator);
            expected.insert(expected.end(), found.begin(), found.end());
        }
        std::string want;
        for (const std::string& line : expected) want += line + "\n";
        const Outcome run = Cli({command, "--words", path, "-"}, input);
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_TRUE(run.out == want) << command << " over " << path << " differs from the plain rule";
    }
}

TEST(CliWords, AmericanEnglishAgreesWithThePlainRule) { CompareWithThePlainRule("/usr/share/dict/american-english"); }
TEST(CliWords, BritishEnglishAgreesWithThePlainRule) { CompareWithThePlainRule("/usr/share/dict/british-english"); }

// The real executable, run by the shell: `command` is what follows the
// program's path, redirections included; standard error is collected.
class CliProcess : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder of this process's own: tests may run side by side.
        dir_ = ::testing::TempDir() + "/lexigrove-cli-" + std::to_string(getpid());
        mkdir(dir_.c_str(), 0700);
    }
    Outcome Run(const std::string& command, const std::string& before = "") {
        const std::string shell = before + std::string(LEXIGROVE_CLI_PATH) + " " + command + " 2>" + dir_ + "/err.txt";
        const int raw = std::system(("sh -c '" + shell + "' >" + dir_ + "/out.txt").c_str());
        std::stringstream out, err;
        out << std::ifstream(dir_ + "/out.txt", std::ios::binary).rdbuf();
        err << std::ifstream(dir_ + "/err.txt", std::ios::binary).rdbuf();
        return Outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out.str(), err.str()};
    }
    Outcome RunWithInput(const std::string& args, const std::string& input) {
        std::ofstream(dir_ + "/in.txt", std::ios::binary) << input;
        return Run(args + " <" + dir_ + "/in.txt");
    }
    std::string dir_;
};

// Exit statuses and exact bytes on the streams.
TEST_F(CliProcess, StreamsAndStatuses) {
    const Outcome found = RunWithInput("unscramble --lengths 2-3 -", "TCA\r\n");
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, "at\nta\nact\ncat\n");
    EXPECT_EQ(found.err, "");
    const Outcome empty = RunWithInput("exact \"\"", "");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.err, "No letters entered!\n");
    const Outcome usage = RunWithInput("unscramble --lengths 99 abc", "");
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.out, "");
    EXPECT_NE(usage.err.find("bad --lengths '99'"), std::string::npos);
}

// A file that is not text is refused at its first NUL, without reading on:
// /dev/zero has no end, and a sparse file of 2 GiB holds nothing else.
TEST_F(CliProcess, WordFilesStopAtTheFirstNul) {
    const std::string sparse = dir_ + "/sparse.txt";
    {
        std::ofstream file(sparse, std::ios::binary);
        file << "cat\n";
    }
    ASSERT_EQ(truncate(sparse.c_str(), off_t{1} << 31), 0);
    for (const std::string& path : {std::string("/dev/zero"), sparse}) {
        const Outcome run = Run("exact --words " + path + " cat", "exec timeout 10 ");
        EXPECT_EQ(run.status, 2) << path;
        EXPECT_EQ(run.out, "") << path;
        EXPECT_EQ(run.err, "lexigrove-cli: the word list '" + path + "' is not text (it holds NUL bytes)\n") << path;
    }
    unlink(sparse.c_str());
}

// A long line is held once, as Unscramble and Wild hold it: Exact's answer
// is written without a copy of it, with or without --count.
TEST_F(CliProcess, ExactHoldsALongLineOnce) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's own memory hides the program's";
#endif
    const std::size_t size = 64 << 20;
    {
        std::ofstream file(dir_ + "/long.txt", std::ios::binary);
        file << std::string(size, 'q') << "\n";
    }
    for (const char* args : {"exact -", "exact --count -", "wild -"}) {
        // Peak memory in kilobytes, from GNU time.
        const Outcome run = Run(std::string(args) + " <" + dir_ + "/long.txt >/dev/null",
                                "/usr/bin/time -f %M -o " + dir_ + "/peak.txt ");
        ASSERT_EQ(run.status, 0) << args << run.err;
        std::size_t peak = 0;
        std::ifstream(dir_ + "/peak.txt") >> peak;
        EXPECT_GT(peak, 0u) << args;
        EXPECT_LT(peak * 1024, size + size / 2) << args;
    }
    unlink((dir_ + "/long.txt").c_str());
}

// A word file takes its own size and a fixed amount more, every list put
// in order: 16 MB of words of every length in no order, of 15 letters and
// more only, the same through a pipe, and one word of 16 MB.
TEST_F(CliProcess, WordFilesTakeAboutTheirSize) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's own memory hides the program's";
#endif
    const std::size_t size = 16 << 20;
    const std::string path = dir_ + "/big.txt";
    for (const char* shape : {"mixed", "long", "piped", "one word"}) {
        std::string words;
        words.reserve(size + 32);
        std::mt19937 random(5);
        while (words.size() < size) {
            std::size_t length = shape == std::string("long") ? 15 + random() % 2
                                 : random() % 20 == 0         ? 15 + random() % 10
                                                              : 2 + random() % 13;
            if (shape == std::string("one word")) length = size;
            for (std::size_t i = 0; i < length; ++i) words += static_cast<char>('a' + random() % 26);
            words += '\n';
        }
        std::ofstream(path, std::ios::binary) << words;
        const bool piped = shape == std::string("piped");
        const Outcome run =
            Run("unscramble --count --words " + (piped ? "/dev/stdin" : path) + " " + std::string(30, '?'),
                (piped ? "cat " + path + " | " : "") + "/usr/bin/time -f %M -o " + dir_ + "/peak.txt ");
        ASSERT_EQ(run.status, 0) << run.err;
        std::size_t peak = 0;
        std::ifstream(dir_ + "/peak.txt") >> peak;
        EXPECT_GT(peak, 0u);
        // Beside the program's own two megabytes.
        EXPECT_LT(peak * 1024, words.size() + (5 << 20)) << shape;
    }
    unlink(path.c_str());
}

// Input that cannot be read and output that cannot be written are errors
// with a message, never an abort or a silent success; a reader that goes
// away ends the program quietly.
TEST_F(CliProcess, FailedReadsAndWrites) {
    for (const char* input : {"</", "<&-"}) {
        const Outcome unreadable = Run(std::string("exact - ") + input);
        EXPECT_EQ(unreadable.status, 1) << input;
        EXPECT_EQ(unreadable.err.rfind("lexigrove-cli: cannot read standard input: ", 0), 0u) << unreadable.err;
    }
    for (const char* args : {"unscramble tca", "--help", "--version"}) {
        const Outcome full = Run(std::string(args) + " >/dev/full");
        EXPECT_EQ(full.status, 1) << args;
        EXPECT_EQ(full.err, "lexigrove-cli: cannot write the results: No space left on device\n") << args;
    }
    // With SIGPIPE ignored the write fails instead of ending the process.
    const Outcome closed = Run("unscramble \"??????\" | head -c 1 >/dev/null", "trap \"\" PIPE; ");
    EXPECT_EQ(closed.err, "");
}

}  // namespace
}  // namespace lexigrove
