// lexigrove-cli: one search from the shell.
//
//   lexigrove-cli unscramble [--lengths LIST] TEXT
//   lexigrove-cli wild TEXT
//   lexigrove-cli exact TEXT
//   lexigrove-cli --help | --version
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SearchSurface.h"

namespace lexigrove {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNoLetters = 1;  // also: the search failed
inline constexpr int kExitUsage = 2;

// Parses a --lengths value: comma-separated lengths and ranges from 2 to 15
// ("2-15", "3,5,7-9"), 15 standing for the "15+ Letter" option. Returns the
// ticked options, or nothing when the value is malformed.
std::optional<std::array<bool, kLengthOptionCount>> ParseLengths(std::string_view list);

// Runs the command line; `in` supplies TEXT given as "-".
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace lexigrove
