#include "Cli.h"

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
#include "WordListCache.h"

namespace lexigrove {

namespace {

constexpr std::string_view kUsage =
    "usage: lexigrove-cli unscramble [--lengths LIST] TEXT\n"
    "       lexigrove-cli wild TEXT\n"
    "       lexigrove-cli exact TEXT\n"
    "       lexigrove-cli --help\n"
    "       lexigrove-cli --version\n";

constexpr std::string_view kHelp =
    "\n"
    "Finds English words in the built-in word list (172,823 words).\n"
    "\n"
    "  unscramble  words spelled from the letters of TEXT, each letter used at\n"
    "              most once; '?' stands for any one letter\n"
    "  wild        words of TEXT's length matching it, '?' matching any letter\n"
    "              (15 characters or more: inside words of 15 letters and more)\n"
    "  exact       whether TEXT is a word\n"
    "\n"
    "  --lengths LIST  word lengths for unscramble: comma-separated lengths and\n"
    "                  ranges from 2 to 15, 15 meaning 15 letters and more\n"
    "                  (\"3,5,7-9\"); all of them by default\n"
    "  TEXT            used byte for byte; capitals are lowercased; '-' reads it\n"
    "                  from standard input, less one trailing line break\n"
    "\n"
    "Writes the results one per line. Exit status: 0 done (also when nothing is\n"
    "found), 1 empty TEXT, 2 usage error.\n";

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

void LowercaseInPlace(std::span<char> text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
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
        for (int length = *low; length <= *high; ++length) ticked[static_cast<std::size_t>(length - 2)] = true;
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
        if (error_ == 0) {
            errno = 0;
            out_.flush();
        }
        return Check();
    }
    int Error() const { return error_; }

private:
    std::ostream& out_;
    int error_ = 0;
};

int Run(const std::vector<std::string>& args, std::istream& in, Output& output, std::ostream& err) {
    std::ostream& out = output.Stream();
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

    int mode = 0;
    if (command == "unscramble") mode = kUnscramble;
    else if (command == "wild") mode = kWild;
    else if (command == "exact") mode = kExact;
    else return UsageError(err, "unknown command " + Quoted(command));

    std::array<bool, kLengthOptionCount> options;
    options.fill(true);
    std::optional<std::string> text;
    bool fromInput = false;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && mode == kUnscramble && (arg == "--lengths" || arg.rfind("--lengths=", 0) == 0)) {
            std::string value;
            if (arg == "--lengths") {
                if (i + 1 >= args.size()) return UsageError(err, "--lengths needs a LIST");
                value = args[++i];
            } else {
                value = arg.substr(std::string_view("--lengths=").size());
            }
            const auto parsed = ParseLengths(value);
            if (!parsed)
                return UsageError(err, "bad --lengths " + Quoted(value) + ": use lengths 2 to 15 and ranges, like 3,5,7-9");
            options = *parsed;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return UsageError(err, "unknown option " + Quoted(arg) + " for " + command);
        } else if (text || fromInput) {
            return UsageError(err, "more than one TEXT given");
        } else if (arg == "-" && !optionsEnded) {
            fromInput = true;
        } else {
            text = arg;
        }
    }
    if (!text && !fromInput) return UsageError(err, "no TEXT given");

    // The text is held once: read into the input buffer, or copied from the
    // command line, lowercased there and lent to the search.
    InputReader reader(in);
    std::span<char> typed;
    if (fromInput) {
        typed = reader.Rest();
    } else {
        typed = std::span<char>(*text);
    }
    LowercaseInPlace(typed);
    ConsoleSurface surface(options);
    surface.LendFrom(std::string_view(typed.data(), typed.size()));
    WordListCache cache;
    bFindClick(surface, cache, mode);
    for (const std::string& message : surface.Messages()) err << message << "\n";
    if (!surface.Messages().empty()) return kExitNoLetters;
    errno = 0;
    out.write(surface.Output().data(), static_cast<std::streamsize>(surface.Output().size()));
    output.Check();
    return kExitOk;
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
