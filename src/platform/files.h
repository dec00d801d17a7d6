// Whole-file access. Files are always read and written in one piece; a write goes to a temporary
// file in the same folder which then replaces the target atomically, so a failed write leaves the
// previous file exactly as it was.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace mirovane {

enum class ReadStatus {
  Ok,
  Missing,   // no such file
  Error,     // there but not readable: no access, a read failure, or not a file at all (a folder,
             // a device, a pipe: those may never end)
  TooLarge,  // a file larger than the read's limit
};

// Whole-file reads refuse files beyond this size. The program's files are far smaller: settings
// take a few kilobytes and even a list of ten thousand alarms stays near one megabyte.
inline constexpr std::size_t kMaxWholeFileBytes = std::size_t{16} << 20;

// Reads the regular file at `path` whole into `contents` (left empty unless Ok). A file larger
// than `limit` bytes is refused by its size without being read, and a file that grows past the
// limit meanwhile is caught there: never more than limit + 1 bytes are read.
ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& contents,
                         std::size_t limit = kMaxWholeFileBytes);

// Returns true on success; on failure `error` (if given) receives a short reason (UTF-8).
bool WriteWholeFileAtomic(const std::filesystem::path& path, std::string_view contents,
                          std::string* error = nullptr);

// True when `path` names an existing file that is not a folder.
bool IsExistingFile(const std::filesystem::path& path);

// The running executable's full path.
std::filesystem::path ExecutablePath();

}  // namespace mirovane
