// The build's handling of the word list: the embedding tool on malformed
// lists, and the configure step on a missing one.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Result {
    int status;
    std::string output;
};

// A scratch folder of this process's own: tests may run side by side.
std::string Scratch() {
    const std::string dir = ::testing::TempDir() + "/lexigrove-build-data-" + std::to_string(getpid());
    mkdir(dir.c_str(), 0700);
    return dir;
}

Result RunCommand(const std::string& command) {
    const std::string log = Scratch() + "/command.log";
    const int raw = std::system((command + " >" + log + " 2>&1").c_str());
    std::stringstream text;
    text << std::ifstream(log).rdbuf();
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

Result Embed(const std::string& list) {
    const std::string dir = Scratch();
    std::ofstream(dir + "/words.txt", std::ios::binary) << list;
    return RunCommand(std::string(EMBED_WORDS_PATH) + " " + dir + "/words.txt " + dir + "/out.cpp");
}

TEST(EmbedWords, StopsOnAMalformedListWithFileLineAndReason) {
    const std::string file = Scratch() + "/words.txt";
    struct Case {
        const char* list;
        const char* message;
    };
    const Case cases[] = {
        {"aa\nab\nAc\n", ":3: 'A' (byte 65) is not a lowercase letter a-z"},
        {"aa\nab\r\nac\n", ":2: byte 13 is not a lowercase letter a-z"},
        {"aa\nab\n\nac\n", ":3: empty line"},
        {"aa\nab\nab\n", ":3: duplicate word \"ab\""},
        {"aa\nac\nab\n", ":3: \"ab\" comes after \"ac\" (not in ascending byte order)"},
        {"aa\nab\nb\n", ":3: word \"b\" is shorter than 2 letters"},
        {"aa\na\xe9\n", ":2: byte 233 is not a lowercase letter a-z"},
        {"", ":0: the word list is empty"},
    };
    for (const Case& c : cases) {
        const Result result = Embed(c.list);
        EXPECT_EQ(result.status, 1) << c.list;
        EXPECT_EQ(result.output, file + c.message + "\n") << c.list;
    }
    EXPECT_EQ(Embed("aa\nab\nabandon\nzoogeographically").status, 0);
}

TEST(Configure, AMissingWordListNamesThePathTried) {
    const std::string build = Scratch() + "/configure";
    const Result result = RunCommand("cmake -S " + std::string(SOURCE_DIR) + " -B " + build +
                              " -DLEXIGROVE_WORDS_FILE=/nonexistent/enable.txt");
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.output.find("Word list not found: tried '/nonexistent/enable.txt'"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("-DLEXIGROVE_WORDS_FILE="), std::string::npos);
}

}  // namespace
