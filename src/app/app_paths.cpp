#include "app/app_paths.h"

namespace mirovane {

std::filesystem::path AsciiPath(std::string_view ascii) {
  // Widened character by character: a char source would go through the locale's conversion,
  // which drags the whole locale machinery into the program for a few fixed ASCII names.
  return std::filesystem::path::string_type(ascii.begin(), ascii.end());
}

std::filesystem::path AlarmListPathFor(const std::filesystem::path& exePath) {
  std::filesystem::path path = exePath;
  path.replace_extension(AsciiPath(".txt"));
  return path;
}

std::filesystem::path ReadmePathFor(const std::filesystem::path& exePath) {
  return exePath.parent_path() / AsciiPath("Readme.txt");
}

}  // namespace mirovane
