#include "Cli.h"

#include <getopt.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>

#include "ConsoleSurface.h"
#include "InputReader.h"
#include "ProgramInfo.h"
#include "SearchCommand.h"
#include "WordFile.h"
#include "WordListCache.h"

namespace lexigrove {

namespace {

constexpr std::string_view kUsage =
    "usage: lexigrove-cli unscramble [--lengths LIST] [OPTION]... TEXT\n"
    "       lexigrove-cli wild [OPTION]... TEXT\n"
    "       lexigrove-cli exact [OPTION]... TEXT\n"
    "       lexigrove-cli --help\n"
    "       lexigrove-cli --version\n";

constexpr std::string_view kHelp =
    "\n"
    "Finds English words in the built-in word list (172,823 words), or in FILE.\n"
    "\n"
    "  unscramble  words spelled from the letters of TEXT, each typed character\n"
    "              used at most once, shortest words first. '?' stands for any\n"
    "              one letter: TEXT is read from left to right, and a '?' takes\n"
    "              the first letter of the word still needed, so its place\n"
    "              matters ('?grove' and 'grove?' differ); '?' last finds most\n"
    "  wild        words of TEXT's length matching it, '?' matching any letter\n"
    "              (15 characters or more: inside words of 15 letters and more)\n"
    "  exact       whether TEXT is a word; '?' is taken literally\n"
    "\n"
    "  --lengths LIST  word lengths for unscramble: comma-separated lengths and\n"
    "                  ranges from 2 to 15, 15 meaning 15 letters and more\n"
    "                  (\"3,5,7-9\"); all of them by default\n"
    "  --words FILE    search the words of FILE, one a line, instead of the\n"
    "                  built-in list; capitals are lowercased, and entries that\n"
    "                  are then not letters a-z only, or one letter long, are\n"
    "                  skipped\n"
    "  --count         write only the number of results of each search\n"
    "  --no-separator  leave out the line of hyphens between searches\n"
    "  TEXT            used byte for byte; capitals are lowercased; '-' reads\n"
    "                  standard input and runs one search per line (LF or\n"
    "                  CR LF), skipping empty lines\n"
    "\n"
    "Writes the results one per line, and a line of 29 hyphens before each\n"
    "search that follows results. Exit status: 0 done (also when nothing is\n"
    "found), 1 empty TEXT or no line to search, or a failed read or write,\n"
    "2 usage error or unusable word list.\n"
    "\n"
    "Examples:\n"
    "  lexigrove-cli unscramble --lengths 4-5 grove\n"
    "  printf 'cat\\ndog\\n' | lexigrove-cli exact --no-separator -\n"
    "  lexigrove-cli unscramble --count --words /usr/share/dict/words listen\n";

// What the user typed, quoted in a message and cut to a readable length.
std::string Quoted(std::string_view typed) {
    constexpr std::size_t kShown = 40;
    std::string quoted = "'";
    quoted.append(typed.substr(0, kShown));
    if (typed.size() > kShown) {
        quoted.append("...' (");
        quoted.append(std::to_string(typed.size()));
        quoted.append(" characters)");
    } else {
        quoted.append("'");
    }
    return quoted;
}

int UsageError(std::ostream& err, const std::string& what) {
    err << "lexigrove-cli: " << what << "\n" << kUsage;
    return kExitUsage;
}

std::optional<int> ParseLength(std::string_view s) {
    int value = 0;
    if (s.empty() || s.size() > 2) return std::nullopt;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || value < 2 || value > 15) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::array<bool, kLengthOptionCount>> ParseLengths(std::string_view list) {
    std::array<bool, kLengthOptionCount> ticked{};
    if (list.empty()) return std::nullopt;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        const std::size_t dash = item.find('-');
        const auto low = ParseLength(item.substr(0, dash));
        const auto high = dash == std::string_view::npos ? low : ParseLength(item.substr(dash + 1));
        if (!low || !high || *low > *high) return std::nullopt;
        for (int length = *low; length <= *high; ++length)
            ticked[static_cast<std::size_t>(OptionForWordLength(length))] = true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return ticked;
}

namespace {

// Writes to standard output, keeping the reason of the first failure.
class Output {
public:
    explicit Output(std::ostream& out) : out_(out) {}
    std::ostream& Stream() { return out_; }
    // After writing: whether everything so far went out.
    bool Check() {
        if (!out_ && error_ == 0) error_ = errno != 0 ? errno : EIO;
        return error_ == 0;
    }
    bool Flush() {
        if (!Check()) return false;
        errno = 0;
        out_.flush();
        return Check();
    }
    int Error() const { return error_; }

private:
    std::ostream& out_;
    int error_ = 0;
};

// The command line, once read.
struct Request {
    int mode = 0;
    std::array<bool, kLengthOptionCount> options{};
    std::optional<std::string> text;  // nothing: one search per input line
    bool fromInput = false;
    std::optional<std::string> wordsFile;
    bool count = false;
    bool noSeparator = false;
};

// Writes what the searches left in the log, and the count in place of the
// lines with --count; false once a write failed.
class Searcher {
public:
    Searcher(const Request& request, WordListCache& cache, Output& output)
        : request_(request), cache_(cache), output_(output), surface_(request.options) {
        surface_.StreamTo(&output.Stream());
        surface_.SetClearBeforeFind(request.count || request.noSeparator);
        surface_.SetCountOnly(request.count);
    }

    bool Search(std::span<char> typed) {
        surface_.LendFrom(typed);
        bFindClick(surface_, cache_, request_.mode);
        if (request_.count && surface_.Messages().empty()) {
            const int found = request_.mode == kExact ? surface_.FoundLines() : surface_.ResultsLineCount();
            output_.Stream() << found << '\n';
        }
        return Flush();
    }
    bool Flush() {
        if (!output_.Check()) return false;
        errno = 0;
        surface_.Flush();
        return output_.Check();
    }
    const std::vector<std::string>& Messages() const { return surface_.Messages(); }

private:
    const Request& request_;
    WordListCache& cache_;
    Output& output_;
    ConsoleSurface surface_;
};

// Reads the command: the kind of search, or --help and --version, which are
// answered at once. Returns the exit status when that ends the run.
std::optional<int> ParseCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                                Request& request) {
    if (args.empty()) return UsageError(err, "no command given");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        if (args.size() > 1) return UsageError(err, "--help takes no arguments");
        out << kUsage << kHelp;
        return kExitOk;
    }
    if (command == "--version") {
        if (args.size() > 1) return UsageError(err, "--version takes no arguments");
        out << "lexigrove-cli " << kProgramVersion << "\n";
        return kExitOk;
    }

    if (command == "unscramble")
        request.mode = kUnscramble;
    else if (command == "wild")
        request.mode = kWild;
    else if (command == "exact")
        request.mode = kExact;
    else
        return UsageError(err, "unknown command " + Quoted(command));
    return std::nullopt;
}

// Takes TEXT into `request`: "-" (before any "--") reads standard input.
std::optional<int> TakeText(const char* arg, bool optionsEnded, std::ostream& err, Request& request) {
    if (request.text || request.fromInput) return UsageError(err, "more than one TEXT given");
    if (!optionsEnded && std::string_view(arg) == "-")
        request.fromInput = true;
    else
        request.text = arg;
    return std::nullopt;
}

// What getopt_long hands back for each argument.
enum : int { kText = 1, kLengths = 'l', kWords = 'w', kCount = 'c', kNoSeparator = 'n', kHelpOption = 'h' };

// Takes what getopt_long found at `typed`, the argument it read: TEXT, an
// option with its value in optarg, or a complaint (':' a missing value,
// '?' an unknown option). Returns the exit status when that ends the run.
std::optional<int> TakeOption(int found, const char* typed, const std::string& command, std::ostream& out,
                              std::ostream& err, Request& request) {
    const bool lengthsAllowed = request.mode == kUnscramble;
    switch (found) {
        case kText:
            return TakeText(optarg, false, err, request);
        case kHelpOption:
            out << kUsage << kHelp;
            return kExitOk;
        case kLengths: {
            if (!lengthsAllowed) break;
            const auto parsed = ParseLengths(optarg);
            if (!parsed)
                return UsageError(err,
                                  "bad --lengths " + Quoted(optarg) + ": use lengths 2 to 15 and ranges, like 3,5,7-9");
            request.options = *parsed;
            return std::nullopt;
        }
        case kWords:
            if (*optarg == '\0') return UsageError(err, "--words needs a FILE");
            request.wordsFile = optarg;
            return std::nullopt;
        case kCount:
            request.count = true;
            return std::nullopt;
        case kNoSeparator:
            request.noSeparator = true;
            return std::nullopt;
        case ':':
            if (optopt == kWords) return UsageError(err, "--words needs a FILE");
            if (lengthsAllowed) return UsageError(err, "--lengths needs a LIST");
            break;
        default:
            return UsageError(err, "unknown option " + Quoted(typed) + " for " + command);
    }
    return UsageError(err, "unknown option '--lengths' for " + command);
}

// Reads the command line into `request`. Returns the exit status when the
// command line is all there is to do (help, version, a usage error),
// nothing when there are searches to run. Options may come before or after
// TEXT, long ones as "NAME VALUE" or "NAME=VALUE"; "--" ends them.
std::optional<int> ParseCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                                    Request& request) {
    if (const auto done = ParseCommand(args, out, err, request)) return done;
    request.options.fill(true);

    static const option kOptions[] = {
        {"lengths", required_argument, nullptr, kLengths}, {"words", required_argument, nullptr, kWords},
        {"count", no_argument, nullptr, kCount},           {"no-separator", no_argument, nullptr, kNoSeparator},
        {"help", no_argument, nullptr, kHelpOption},       {nullptr, 0, nullptr, 0},
    };
    // getopt_long may reorder the array it is given, so it gets copies; the
    // command takes the place of the program's name.
    std::vector<std::string> copies(args);
    std::vector<char*> argv;
    argv.reserve(copies.size() + 1);
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(copies.size());
    // "-": TEXT is handed over in place as kText; ":": a missing value is
    // told from an unknown option; no message is printed by getopt_long.
    optind = 0;
    opterr = 0;
    for (;;) {
        // The argument being read: in this mode getopt_long moves none.
        const char* const typed = argv[static_cast<std::size_t>(std::max(optind, 1))];
        const int found = getopt_long(argc, argv.data(), "-:h", kOptions, nullptr);
        if (found == -1) break;
        if (const auto done = TakeOption(found, typed, args[0], out, err, request)) return done;
    }
    // After "--", every argument is TEXT, "-" too.
    for (int i = optind; i < argc; ++i)
        if (const auto done = TakeText(argv[static_cast<std::size_t>(i)], true, err, request)) return done;
    if (!request.text && !request.fromInput) return UsageError(err, "no TEXT given");
    return std::nullopt;
}

// Loads the word file of --words into `words`, and says how many entries it
// skipped; false, with the reason on `err`, when the file cannot be used.
bool LoadWordFile(const std::string& path, std::optional<WordFile>& words, std::ostream& err) {
    try {
        words.emplace(path);
    } catch (const WordFileError& e) {
        err << "lexigrove-cli: " << e.what() << "\n";
        return false;
    }
    if (words->Skipped() > 0) {
        const bool one = words->Skipped() == 1;
        err << "lexigrove-cli: skipped " << WithThousands(words->Skipped()) << (one ? " entry of " : " entries of ")
            << path << (one ? " that is not a plain word\n" : " that are not plain words\n");
    }
    return true;
}

// One search per line of `in`, each line's results written before the next
// line is waited for.
int SearchLines(std::istream& in, Searcher& searcher, Output& output, std::ostream& err) {
    InputReader reader(in, [&] {
        searcher.Flush();
        output.Flush();
    });
    bool searched = false;
    while (const auto line = reader.NextLine()) {
        if (line->empty()) continue;
        searched = true;
        if (!searcher.Search(*line)) return kExitNoLetters;
    }
    if (!searched) {
        err << kNoLettersMessage << "\n";
        return kExitNoLetters;
    }
    return kExitOk;
}

// Runs the searches that `request` asks for.
int RunRequest(Request& request, std::istream& in, Output& output, std::ostream& err) {
    std::optional<WordFile> words;
    if (request.wordsFile && !LoadWordFile(*request.wordsFile, words, err)) return kExitUsage;
    // Every search reads the file's lists, Wild's and Exact's private
    // copies too.
    const WordListCache::ListLoader fromFile =
        words ? WordListCache::ListLoader([&words](int length) { return words->List(length); })
              : WordListCache::ListLoader();
    WordListCache cache(fromFile, fromFile);
    Searcher searcher(request, cache, output);

    if (request.text) {
        // Held once: the copy from the command line, lowercased in place.
        searcher.Search(std::span<char>(*request.text));
        for (const std::string& message : searcher.Messages()) err << message << "\n";
        return searcher.Messages().empty() ? kExitOk : kExitNoLetters;
    }
    return SearchLines(in, searcher, output, err);
}

int Run(const std::vector<std::string>& args, std::istream& in, Output& output, std::ostream& err) {
    Request request;
    if (const auto done = ParseCommandLine(args, output.Stream(), err, request)) return *done;
    return RunRequest(request, in, output, err);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    // The one place where failures become messages and exit statuses.
    int status = kExitOk;
    Output output(out);
    try {
        status = Run(args, in, output, err);
    } catch (const std::bad_alloc&) {
        err << "lexigrove-cli: out of memory\n";
        status = kExitNoLetters;
    } catch (const std::exception& e) {
        err << "lexigrove-cli: " << e.what() << "\n";
        status = kExitNoLetters;
    }
    // A write that failed is an error too, unless the reader went away
    // (a closed pipe ends quietly, as with other console tools).
    if (!output.Flush()) {
        if (output.Error() != EPIPE)
            err << "lexigrove-cli: cannot write the results: " << std::strerror(output.Error()) << "\n";
        return kExitNoLetters;
    }
    return status;
}

}  // namespace lexigrove
