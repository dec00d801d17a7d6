#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>

#include "platform/files.h"

namespace mirovane {

namespace {

ReadStatus ReadRegularFile(int fd, std::string& contents, std::size_t limit) {
  struct stat st {};
  // Only a regular file has an end to read to: a device or a pipe may never have one.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return ReadStatus::Error;
  if (static_cast<std::uintmax_t>(st.st_size) > limit) return ReadStatus::TooLarge;
  // The size is a hint only (0 for the kernel's own files): the reads decide.
  contents.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    // At most one byte past the limit, enough to tell that the file has grown beyond it.
    const std::size_t want = std::min(sizeof buf, limit - contents.size() + 1);
    const ssize_t n = ::read(fd, buf, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ReadStatus::Error;
    }
    if (n == 0) return ReadStatus::Ok;
    contents.append(buf, static_cast<std::size_t>(n));
    if (contents.size() > limit) return ReadStatus::TooLarge;
  }
}

}  // namespace

ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& contents,
                         std::size_t limit, std::string* error) {
  contents.clear();
  if (error) error->clear();
  // O_NONBLOCK: opening a pipe that has no writer would wait for one (it is refused anyway). On
  // a regular file the flag changes nothing.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ReadStatus::Missing;
    if (error) *error = std::strerror(errno);
    return ReadStatus::Error;
  }
  errno = EINVAL;  // what a file that is no regular file reports
  const ReadStatus status = ReadRegularFile(fd, contents, limit);
  if (status == ReadStatus::Error && error) *error = std::strerror(errno);
  ::close(fd);
  if (status != ReadStatus::Ok) std::string().swap(contents);  // nothing kept, memory released
  return status;
}

bool WriteWholeFileAtomic(const std::filesystem::path& path, std::string_view contents,
                          std::string* error) {
  auto fail = [&] {
    if (error) *error = std::strerror(errno);
    return false;
  };
  // A symbolic link stays a link: the file it leads to is the one replaced (a rename onto the
  // link would put a plain file in its place).
  std::filesystem::path target = path;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return fail();  // a link to nowhere (or a loop) is not replaced
    target = resolved;
    std::free(resolved);
  }
  std::filesystem::path temp = target;
  temp += ".tmp" + std::to_string(std::random_device{}() % 1000000);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return fail();
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      errno = saved;
      return fail();
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return fail();
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return fail();
  }
  return true;
}

bool IsExistingFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
}

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec);
}

}  // namespace mirovane
