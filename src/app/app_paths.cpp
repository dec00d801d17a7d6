#include "app/app_paths.h"

namespace mirovane {

std::filesystem::path AlarmListPathFor(const std::filesystem::path& exePath) {
  std::filesystem::path path = exePath;
  path.replace_extension(".txt");
  return path;
}

std::filesystem::path ReadmePathFor(const std::filesystem::path& exePath) {
  return exePath.parent_path() / "Readme.txt";
}

}  // namespace mirovane
