#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/codec.h"
#include "platform/files.h"

#ifndef ERROR_DIRECTORY_NOT_SUPPORTED
#define ERROR_DIRECTORY_NOT_SUPPORTED 336L
#endif

namespace mirovane {

namespace {

// The system's own words for the last error, in the user's language ("アクセスが拒否されました。"),
// or its number when the system has none.
std::string LastErrorText() {
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring w = text ? std::wstring(text) : std::wstring();
  if (text) LocalFree(text);
  while (!w.empty() && (w.back() == L'\n' || w.back() == L'\r' || w.back() == L' ')) w.pop_back();
  return w.empty() ? "error " + std::to_string(code) : WideToUtf8(w);
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  bool Close() {
    const bool ok = !Valid() || CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

ReadStatus ReadDiskFile(HANDLE file, std::string& contents, std::size_t limit) {
  // Only a file on disk has an end to read to: a device (NUL, CON) or a pipe may never have one.
  if (GetFileType(file) != FILE_TYPE_DISK) return ReadStatus::Error;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return ReadStatus::Error;
  if (static_cast<unsigned long long>(size.QuadPart) > limit) return ReadStatus::TooLarge;
  contents.reserve(static_cast<std::size_t>(size.QuadPart));
  char buf[65536];
  for (;;) {
    // At most one byte past the limit, enough to tell that the file has grown beyond it.
    const auto want = static_cast<DWORD>(std::min(sizeof buf, limit - contents.size() + 1));
    DWORD got = 0;
    if (!ReadFile(file, buf, want, &got, nullptr)) return ReadStatus::Error;
    if (got == 0) return ReadStatus::Ok;
    contents.append(buf, got);
    if (contents.size() > limit) return ReadStatus::TooLarge;
  }
}

}  // namespace

bool IsExistingFile(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& contents,
                         std::size_t limit, std::string* error) {
  contents.clear();
  if (error) error->clear();
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD e = GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return ReadStatus::Missing;
    if (error) *error = LastErrorText();
    return ReadStatus::Error;
  }
  SetLastError(ERROR_INVALID_FUNCTION);  // what a file that is no file on disk reports
  const ReadStatus status = ReadDiskFile(file.Get(), contents, limit);
  if (status == ReadStatus::Error && error) *error = LastErrorText();
  if (status != ReadStatus::Ok) std::string().swap(contents);  // nothing kept, memory released
  return status;
}

namespace {

// The file a write to `path` must replace: the file itself, or the file a symbolic link (or a
// junction on the way) leads to, so that the link stays a link and its file gets the new
// contents. Renaming a file over the link would make the link a plain file instead, and Wine's
// ReplaceFileW even deletes the linked file. False when `path` is a link that cannot be followed.
bool ResolveTarget(const std::filesystem::path& path, std::filesystem::path& target) {
  target = path;
  // No access asked: attributes only, which a file held open without sharing still allows.
  Handle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.Valid()) {
    const DWORD e = GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return true;  // a new file
    // Not open: a link can then not be told from a file. A plain file keeps its path, so the
    // move reports why it cannot be written.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  }
  std::wstring final(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(file.Get(), final.data(),
                                              static_cast<DWORD>(final.size()), VOLUME_NAME_DOS);
    if (n == 0) {
      const DWORD attributes = GetFileAttributesW(path.c_str());
      return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    if (n < final.size()) {
      final.resize(n);
      break;
    }
    final.resize(n);
  }
  target = final;
  return true;
}

}  // namespace

bool WriteWholeFileAtomic(const std::filesystem::path& path, std::string_view contents,
                          std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  std::filesystem::path target;
  if (!ResolveTarget(path, target)) {
    SetLastError(ERROR_CANT_RESOLVE_FILENAME);
    return fail(LastErrorText());
  }
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    // Never replace a folder that stands where the file should be (Wine would remove it).
    SetLastError(ERROR_DIRECTORY_NOT_SUPPORTED);
    return fail(LastErrorText());
  }
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
    // A read-only file is not replaced, as the system's own replace refuses it (Wine's rename
    // would not).
    SetLastError(ERROR_ACCESS_DENIED);
    return fail(LastErrorText());
  }
  std::filesystem::path temp = target;
  temp += L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  {
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return fail(LastErrorText());
    std::size_t done = 0;
    while (done < contents.size()) {
      const DWORD chunk =
          static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1u << 20));
      DWORD wrote = 0;
      if (!WriteFile(file.Get(), contents.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
        const bool r = fail(LastErrorText());
        file.Close();
        DeleteFileW(temp.c_str());
        return r;
      }
      done += wrote;
    }
    if (!FlushFileBuffers(file.Get()) || !file.Close()) {
      const bool r = fail(LastErrorText());
      DeleteFileW(temp.c_str());
      return r;
    }
  }
  // The new file keeps the old one's hidden, system and archive marks, as a replace would.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (exists && (attributes & kKept)) SetFileAttributesW(temp.c_str(), attributes & kKept);
  // One rename puts the new file in place. It is refused while another program holds the file
  // open without sharing; unlike ReplaceFileW (which under Wine leaves an empty "rf*.tmp" behind
  // on every refusal) it creates nothing else on the way.
  if (!MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const bool r = fail(LastErrorText());
    DeleteFileW(temp.c_str());
    return r;
  }
  return true;
}

std::filesystem::path ExecutablePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    buf.resize(buf.size() * 2);
  }
}

}  // namespace mirovane
