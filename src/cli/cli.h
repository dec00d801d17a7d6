// mirovane-cli: previews format strings and checks alarm lists from the command line.
//
//   mirovane-cli format [--at WHEN]... [--cp932] [--regional=fixed] [--new-eras] FORMAT...
//   mirovane-cli alarms FILE [--now WHEN] [--startup] [--until WHEN]
//   mirovane-cli holidays FROM-YEAR [TO-YEAR]   Japan's holidays, "YYYY-MM-DD name" (UTF-8)
//   mirovane-cli --version     prints "mirovane-cli <version>"
//
// `alarms` reads FILE as the program reads its alarm list, loads it at WHEN (or now) and prints
// one line per loaded entry, "<list number> <state> <due>", then "next <list number> <due>" or
// "next none"; with --until it then fires the pending alarms in order up to that moment
// ("fire <list number> <due>", at most 10000). The program's messages go to stderr.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace mirovane::cli {

// Runs one command. `args` are UTF-8 and exclude the program name. Returns the exit status:
// 0 on success, 2 for a bad argument (after one line on `err`), 1 when the output could not be
// written or the alarm list exists but could not be read (not a file, no access, or larger than
// a whole-file read takes; the engine's message says which on `err`).
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A moment given on the command line: a date-time value ("46364.5", "-1.25") or a local time
// "YYYY-MM-DDTHH:MM:SS" with optional ".mmm".
std::optional<double> ParseWhen(std::string_view text);

}  // namespace mirovane::cli
