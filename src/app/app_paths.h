// Files the main window keeps beside the executable.
#pragma once

#include <filesystem>
#include <string_view>

namespace mirovane {

// A path made of plain ASCII characters (a file name or extension known to the program).
std::filesystem::path AsciiPath(std::string_view ascii);

// The alarm list: the executable's path with its extension replaced by ".txt".
std::filesystem::path AlarmListPathFor(const std::filesystem::path& exePath);
// "Readme.txt" in the executable's folder.
std::filesystem::path ReadmePathFor(const std::filesystem::path& exePath);

}  // namespace mirovane
