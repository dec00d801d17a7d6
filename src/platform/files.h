// Whole-file access. Files are always read and written in one piece; a write goes to a temporary
// file in the same folder which then replaces the target atomically, so a failed write leaves the
// previous file exactly as it was.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mirovane {

enum class ReadStatus { Ok, Missing, Error };

ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& contents);

// Returns true on success; on failure `error` (if given) receives a short reason (UTF-8).
bool WriteWholeFileAtomic(const std::filesystem::path& path, std::string_view contents,
                          std::string* error = nullptr);

// The running executable's full path.
std::filesystem::path ExecutablePath();

}  // namespace mirovane
