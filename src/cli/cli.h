// mirovane-cli: previews format strings and (later) checks alarm lists from the command line.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace mirovane::cli {

// Runs one command. `args` are UTF-8 and exclude the program name. Returns the exit status:
// 0 on success, 2 for a bad argument (after one line on `err`).
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A moment given on the command line: a date-time value ("46364.5", "-1.25") or a local time
// "YYYY-MM-DDTHH:MM:SS" with optional ".mmm".
std::optional<double> ParseWhen(std::string_view text);

}  // namespace mirovane::cli
