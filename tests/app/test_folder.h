// A temporary folder for one test, removed with everything in it afterwards; files are written
// as raw bytes (cp932 for settings files).
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace mirovane::testing {

class TestFolder {
 public:
  TestFolder() {
    static int counter = 0;
    root_ = std::filesystem::temp_directory_path() /
            (L"mirovane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++counter));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& Path() const { return root_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return root_ / name; }

  // Writes `bytes` to root/name as they are.
  std::filesystem::path Write(const std::filesystem::path& name, std::string_view bytes) const {
    const std::filesystem::path p = root_ / name;
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
  }

 private:
  std::filesystem::path root_;
};

inline std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace mirovane::testing
