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
// `error`, if given, receives the system's reason for Error (UTF-8; empty for the other results).
ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& contents,
                         std::size_t limit = kMaxWholeFileBytes, std::string* error = nullptr);

// Returns true on success; on failure `error` (if given) receives the system's reason (UTF-8, in
// the user's language where the system has one). A symbolic link stays a link: the file it leads
// to takes the new contents. A read-only file, or one another program holds open, is refused, and
// a failed write leaves the folder as it was.
bool WriteWholeFileAtomic(const std::filesystem::path& path, std::string_view contents,
                          std::string* error = nullptr);

// The user's messages for a file that could not be read or written, one sentence each with the
// reason in brackets: "C:\…\Mirovane.ini に書き込めません（アクセスが拒否されました）。" (UTF-8;
// without a reason the brackets are left out). A read refused by its size says so.
std::string CannotWriteText(const std::filesystem::path& path, std::string_view reason);
std::string CannotReadText(const std::filesystem::path& path, ReadStatus status,
                           std::string_view reason);

// True when `path` names an existing file that is not a folder.
bool IsExistingFile(const std::filesystem::path& path);

// The running executable's full path.
std::filesystem::path ExecutablePath();

}  // namespace mirovane
