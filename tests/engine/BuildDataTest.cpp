// The build's handling of the word list: the embedding tool on malformed
// lists, and the configure step on a missing one or another edition.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
    int status;
    std::string output;
};

// A scratch folder of this process's own: tests may run side by side.
std::string Scratch() {
    std::string dir = ::testing::TempDir() + "/lexigrove-build-data-" + std::to_string(getpid());
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

// Anything but the edition the program is made for stops the configure
// step, naming the file, the edition expected and what was found.
TEST(Configure, AnotherEditionOfTheWordListStopsWithWhatWasFound) {
    std::stringstream text;
    text << std::ifstream(WORDS_FILE, std::ios::binary).rdbuf();
    const std::string words = text.str();
    ASSERT_EQ(words.rfind("aa\naah\n", 0), 0u);

    std::string short_one = words;  // one 7-letter word left out
    short_one.erase(short_one.find("\naarrghh\n") + 1, 8);
    std::string thousand;  // the first 1,000 words
    std::size_t at = 0;
    for (int i = 0; i < 1000; ++i) at = words.find('\n', at) + 1;
    thousand = words.substr(0, at);
    // The same total: "aa" gone, a 4-letter word more.
    const std::string same_total = words.substr(3) + "zzzz\n";
    std::string crlf;
    for (const char c : words) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

    struct Case {
        const char* name;
        const std::string& list;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"short", short_one, {"list 7: 23108 words, expected 23109", "172822 of them words"}},
        {"thousand",
         thousand,
         {"list 2: 2 words, expected 96", "list 15 (15 letters and more): 32 words", "1000 lines"}},
        {"same-total",
         same_total,
         {"list 2: 95 words, expected 96", "list 4: 3904 words, expected 3903", "172823 lines, 172823 of them"}},
        {"crlf", crlf, {"This copy has CR LF line ends", "172823 lines, 172823 of them"}},
    };
    const std::string build = Scratch() + "/configure-edition";
    for (const Case& c : cases) {
        std::string file = Scratch() + "/" + c.name + ".txt";
        for (std::size_t twice; (twice = file.find("//")) != std::string::npos;) file.erase(twice, 1);
        std::ofstream(file, std::ios::binary) << c.list;
        std::string command = "cmake -S " SOURCE_DIR " -B ";
        command.append(build).append(" -DLEXIGROVE_WORDS_FILE=").append(file);
        const Result result = RunCommand(command);
        EXPECT_NE(result.status, 0) << c.name;
        for (const std::string& expected :
             {std::string("The word list is not the edition Lexigrove is made for"), "File:     " + file,
              std::string("the public-domain ENABLE list of 172,823 words, one word a line, LF line ends"),
              std::string("SHA-256 3f16130220645692ed49c7134e24a18504c2ca55b3c012f7290e3e77c63b1a89"),
              std::string("Found:    SHA-256 ")})
            EXPECT_NE(result.output.find(expected), std::string::npos) << c.name << " lacks " << expected << "\n"
                                                                       << result.output;
        for (const std::string& expected : c.found)
            EXPECT_NE(result.output.find(expected), std::string::npos) << c.name << " lacks " << expected << "\n"
                                                                       << result.output;
        const bool says_crlf = result.output.find("CR LF") != std::string::npos;
        EXPECT_EQ(says_crlf, std::string(c.name) == "crlf") << result.output;
    }
}

}  // namespace
