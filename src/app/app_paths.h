// Files the main window keeps beside the executable.
#pragma once

#include <filesystem>

namespace mirovane {

// The alarm list: the executable's path with its extension replaced by ".txt".
std::filesystem::path AlarmListPathFor(const std::filesystem::path& exePath);
// "Readme.txt" in the executable's folder.
std::filesystem::path ReadmePathFor(const std::filesystem::path& exePath);

}  // namespace mirovane
