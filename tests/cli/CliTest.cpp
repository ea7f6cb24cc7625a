#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace lexigrove {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Cli(std::vector<std::string> args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunCli(args, in, out, err);
    return {status, out.str(), err.str()};
}

bool IsUsageError(const Outcome& run, const std::string& what) {
    return run.status == 2 && run.out.empty() && run.err.rfind("lexigrove-cli: " + what, 0) == 0 &&
           run.err.find("\nusage: lexigrove-cli unscramble [--lengths LIST] TEXT\n") != std::string::npos;
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

TEST(Cli, DashReadsStandardInputLessOneLineBreak) {
    EXPECT_EQ(Cli({"exact", "-"}, "zyzzyva\n").out, "zyzzyva - Found\n");
    EXPECT_EQ(Cli({"exact", "-"}, "zyzzyva\r\n").out, "zyzzyva - Found\n");
    EXPECT_EQ(Cli({"exact", "-"}, "zyzzyva").out, "zyzzyva - Found\n");
    EXPECT_EQ(Cli({"exact", "-"}, "ab\n\n").out, "ab\n - Not Found\n");
    EXPECT_EQ(Cli({"unscramble", "--lengths", "2", "-"}, "t" + std::string(300000, '1') + "a\n").out, "at\nta\n");
    const Outcome empty = Cli({"wild", "-"}, "\n");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "No letters entered!\n");
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
    for (const char* bad : {"", "1", "16", "0-3", "9-7", "3,", ",3", "3,,4", "a", "3-", "-3", "2-15-", " 3", "3 ",
                            "+3", "100", "3-4-5", "2.5"})
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
    EXPECT_EQ(help.out.rfind("usage: lexigrove-cli unscramble [--lengths LIST] TEXT\n", 0), 0u);
    EXPECT_EQ(help.err, "");
    const Outcome version = Cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "lexigrove-cli " LEXIGROVE_TEST_VERSION "\n");
}

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
