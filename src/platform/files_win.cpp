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

std::string LastErrorText(const char* what) {
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out = std::string(what) + " (" + std::to_string(code) + ")";
  if (text) {
    std::wstring w(text);
    while (!w.empty() && (w.back() == L'\n' || w.back() == L'\r' || w.back() == L' ')) w.pop_back();
    out += ": " + WideToUtf8(w);
    LocalFree(text);
  }
  return out;
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
                         std::size_t limit) {
  contents.clear();
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing
                                                                  : ReadStatus::Error;
  }
  const ReadStatus status = ReadDiskFile(file.Get(), contents, limit);
  if (status != ReadStatus::Ok) std::string().swap(contents);  // nothing kept, memory released
  return status;
}

bool WriteWholeFileAtomic(const std::filesystem::path& path, std::string_view contents,
                          std::string* error) {
  auto fail = [&](const char* what) {
    if (error) *error = LastErrorText(what);
    return false;
  };
  std::filesystem::path temp = path;
  temp += L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  {
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return fail("create");
    std::size_t done = 0;
    while (done < contents.size()) {
      const DWORD chunk =
          static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1u << 20));
      DWORD wrote = 0;
      if (!WriteFile(file.Get(), contents.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
        const bool r = fail("write");
        file.Close();
        DeleteFileW(temp.c_str());
        return r;
      }
      done += wrote;
    }
    if (!FlushFileBuffers(file.Get()) || !file.Close()) {
      const bool r = fail("flush");
      DeleteFileW(temp.c_str());
      return r;
    }
  }
  // ReplaceFileW refuses a target that is read-only or held open without sharing, as a save
  // should; a target that does not exist yet is simply moved into place.
  BOOL ok;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    // Never replace a folder that stands where the file should be (Wine would remove it).
    SetLastError(ERROR_DIRECTORY_NOT_SUPPORTED);
    const bool r = fail("replace");
    DeleteFileW(temp.c_str());
    return r;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    ok = ReplaceFileW(path.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                      nullptr);
  } else {
    ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
  }
  if (!ok) {
    const bool r = fail("replace");
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
