// Symbolic links and locked files for the tests of whole-file writes. Under Wine a link is made
// the way the user of the system beneath makes one: with ln, which Wine starts like any program
// (the Unix file system is a drive of its own); on Windows with CreateSymbolicLinkW.
#pragma once

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirovane::test {

#ifdef _WIN32
namespace detail {

inline std::wstring Wide(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

// The Unix path of a Windows path, when running under Wine; empty on Windows.
inline std::string UnixPath(const std::filesystem::path& p) {
  using Function = char*(CDECL*)(const wchar_t*);
  static const auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!function) return {};
  char* name = function(p.c_str());
  std::string out = name ? name : "";
  if (name) HeapFree(GetProcessHeap(), 0, name);
  return out;
}

// Runs a shell command line of the system beneath Wine and waits until it has finished. Wine
// starts a Unix program like any other but hands back no process to wait on, so the command
// leaves a file of its own behind when it is done; its exit status is not known.
inline bool RunUnixShell(const std::string& command, const std::filesystem::path& doneFile) {
  const std::string unixDone = UnixPath(doneFile);
  std::wstring line = L"Z:\\bin\\sh -c \"" + Wide(command) + L"; touch " + Wide(unixDone) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  if (process.hProcess) CloseHandle(process.hProcess);
  if (process.hThread) CloseHandle(process.hThread);
  // Waits for the file, not for a time: a minute is only the bound of a command that never ran.
  for (int i = 0; i < 6000; ++i) {
    if (GetFileAttributesW(doneFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
      DeleteFileW(doneFile.c_str());
      return true;
    }
    Sleep(10);
  }
  return false;
}

}  // namespace detail

// Makes `link` a symbolic link to `target`; false when this system does not let the test do it.
inline bool MakeSymbolicLink(const std::filesystem::path& target,
                             const std::filesystem::path& link) {
  const std::string unixTarget = detail::UnixPath(target), unixLink = detail::UnixPath(link);
  if (!unixTarget.empty() && !unixLink.empty()) {
    std::filesystem::path done = link;
    done += L".made";
    return detail::RunUnixShell("ln -s " + unixTarget + " " + unixLink, done) &&
           GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  return CreateSymbolicLinkW(link.c_str(), target.c_str(), 0x2 /* unprivileged */) != 0;
}

inline bool IsSymbolicLink(const std::filesystem::path& link) {
  const std::string unixLink = detail::UnixPath(link);
  if (!unixLink.empty()) {
    std::filesystem::path yes = link, done = link;
    yes += L".is-link";
    done += L".tested";
    DeleteFileW(yes.c_str());
    if (!detail::RunUnixShell("test -L " + unixLink + " && touch " + detail::UnixPath(yes), done)) {
      return false;
    }
    const bool isLink = GetFileAttributesW(yes.c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileW(yes.c_str());
    return isLink;
  }
  const DWORD attributes = GetFileAttributesW(link.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Removes the link itself (Wine's DeleteFileW would not: it finds the file behind it).
inline void RemoveSymbolicLink(const std::filesystem::path& link) {
  const std::string unixLink = detail::UnixPath(link);
  if (!unixLink.empty()) {
    std::filesystem::path done = link;
    done += L".removed";
    detail::RunUnixShell("rm -f " + unixLink, done);
    return;
  }
  DeleteFileW(link.c_str());
}

// A file held open by "another program" without any sharing, for as long as the object lives.
class LockedFile {
 public:
  explicit LockedFile(const std::filesystem::path& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~LockedFile() { Release(); }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};
#else
inline bool MakeSymbolicLink(const std::filesystem::path& target,
                             const std::filesystem::path& link) {
  return ::symlink(target.c_str(), link.c_str()) == 0;
}

inline bool IsSymbolicLink(const std::filesystem::path& link) {
  struct stat st {};
  return ::lstat(link.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

inline void RemoveSymbolicLink(const std::filesystem::path& link) { ::unlink(link.c_str()); }
#endif

}  // namespace mirovane::test
