#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "file_links.h"
#include "platform/files.h"

namespace mirovane {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("mirovane-files-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path dir_;
};

TEST_F(FilesTest, WriteThenReadWholeFile) {
  const fs::path p = dir_ / "a.txt";
  std::string bytes("line1\r\n\x95\x5C\0end", 13);
  ASSERT_TRUE(WriteWholeFileAtomic(p, bytes));
  std::string back;
  ASSERT_EQ(ReadWholeFile(p, back), ReadStatus::Ok);
  EXPECT_EQ(back, bytes);
  // Replacing keeps no temporary file behind.
  ASSERT_TRUE(WriteWholeFileAtomic(p, "second"));
  ASSERT_EQ(ReadWholeFile(p, back), ReadStatus::Ok);
  EXPECT_EQ(back, "second");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FilesTest, MissingFileIsNotAnError) {
  std::string back = "stale";
  EXPECT_EQ(ReadWholeFile(dir_ / "none.txt", back), ReadStatus::Missing);
  EXPECT_TRUE(back.empty());
}

// Only a file of bounded size is read: a larger file, or something that may never end, is refused
// without being read through (the default limit is 16 MiB, which any such read would take in).
TEST_F(FilesTest, ReadsOnlyRegularFilesUpToTheLimit) {
  const fs::path p = dir_ / "a.txt";
  ASSERT_TRUE(WriteWholeFileAtomic(p, "0123456789"));
  std::string back;
  EXPECT_EQ(ReadWholeFile(p, back, 10), ReadStatus::Ok);
  EXPECT_EQ(back, "0123456789");
  EXPECT_EQ(ReadWholeFile(p, back, 9), ReadStatus::TooLarge);
  EXPECT_TRUE(back.empty());

  // One byte past the default limit (sparse: no disk is used), refused by its size.
  { std::ofstream(dir_ / "big.txt", std::ios::binary); }
  fs::resize_file(dir_ / "big.txt", kMaxWholeFileBytes + 1);
  back = "stale";
  EXPECT_EQ(ReadWholeFile(dir_ / "big.txt", back), ReadStatus::TooLarge);
  EXPECT_TRUE(back.empty());

  fs::create_directories(dir_ / "folder");
  EXPECT_EQ(ReadWholeFile(dir_ / "folder", back), ReadStatus::Error);
#ifdef _WIN32
  EXPECT_EQ(ReadWholeFile(L"NUL", back), ReadStatus::Error);
#else
  // Devices and pipes may never end; a pipe without a writer must not hold up the open either.
  EXPECT_EQ(ReadWholeFile("/dev/zero", back), ReadStatus::Error);
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(ReadWholeFile(dir_ / "fifo", back), ReadStatus::Error);
  EXPECT_TRUE(back.empty());
  // The kernel's own files are regular but say size 0: the read itself stops past the limit.
  EXPECT_EQ(ReadWholeFile("/proc/self/maps", back, 64), ReadStatus::TooLarge);
  EXPECT_TRUE(back.empty());
  ASSERT_EQ(ReadWholeFile("/proc/self/maps", back), ReadStatus::Ok);
  EXPECT_GT(back.size(), 64u);
#endif
}

TEST_F(FilesTest, FailedWriteLeavesNothingBehind) {
  std::string error;
  EXPECT_FALSE(WriteWholeFileAtomic(dir_ / "gone" / "a.txt", "x", &error));
  EXPECT_FALSE(error.empty());
  // A folder standing where the file should be.
  fs::create_directories(dir_ / "folder.ini");
  EXPECT_FALSE(WriteWholeFileAtomic(dir_ / "folder.ini", "x", &error));
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.ini"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// The names in a folder, sorted.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A save through a symbolic link replaces the file the link leads to: the link stays a link, the
// linked file takes the new contents, and neither folder keeps anything else.
TEST_F(FilesTest, WriteThroughASymbolicLinkReplacesTheLinkedFile) {
  fs::create_directories(dir_ / "program");
  fs::create_directories(dir_ / "elsewhere");
  const fs::path real = dir_ / "elsewhere" / "Mirovane.txt";
  const fs::path link = dir_ / "program" / "Mirovane.txt";
  ASSERT_TRUE(WriteWholeFileAtomic(real, "old"));
  if (!test::MakeSymbolicLink(real, link)) GTEST_SKIP() << "no symbolic links here";
  // The link goes before its file: Wine sees no link whose file is gone, and could not remove it.
  struct RemoveLink {
    const fs::path& link;
    ~RemoveLink() { test::RemoveSymbolicLink(link); }
  } removeLink{link};
  ASSERT_TRUE(test::IsSymbolicLink(link));

  std::string error;
  ASSERT_TRUE(WriteWholeFileAtomic(link, "new", &error)) << error;
  EXPECT_TRUE(test::IsSymbolicLink(link));
  std::string back;
  ASSERT_EQ(ReadWholeFile(real, back), ReadStatus::Ok);
  EXPECT_EQ(back, "new");
  EXPECT_EQ(Names(dir_ / "program"), std::vector<std::string>{"Mirovane.txt"});
  EXPECT_EQ(Names(dir_ / "elsewhere"), std::vector<std::string>{"Mirovane.txt"});
}

#ifdef _WIN32
// A file another program holds open without sharing is neither read nor replaced; the refused
// save names the system's reason (no call name) and leaves the folder exactly as it was: no
// temporary file, no "rf*.tmp" of the system's replace.
TEST_F(FilesTest, LockedFileIsRefusedAndTheFolderStaysAsItWas) {
  const fs::path p = dir_ / "Mirovane.ini";
  ASSERT_TRUE(WriteWholeFileAtomic(p, "[MainForm]\r\n"));
  {
    test::LockedFile lock(p);
    ASSERT_TRUE(lock.Held());
    std::string back;
    EXPECT_EQ(ReadWholeFile(p, back), ReadStatus::Error);
    for (int attempt = 0; attempt < 3; ++attempt) {
      std::string error;
      EXPECT_FALSE(WriteWholeFileAtomic(p, "defaults", &error));
      EXPECT_FALSE(error.empty());
      EXPECT_EQ(error.find("replace"), std::string::npos) << error;
      EXPECT_EQ(error.find('('), std::string::npos) << error;
    }
    EXPECT_EQ(Names(dir_), std::vector<std::string>{"Mirovane.ini"});
  }
  std::string back;
  ASSERT_EQ(ReadWholeFile(p, back), ReadStatus::Ok);
  EXPECT_EQ(back, "[MainForm]\r\n");
  // A read-only file is refused too, and keeps its contents.
  SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(WriteWholeFileAtomic(p, "defaults"));
  SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(ReadWholeFile(p, back), ReadStatus::Ok);
  EXPECT_EQ(back, "[MainForm]\r\n");
  EXPECT_EQ(Names(dir_), std::vector<std::string>{"Mirovane.ini"});
}
#endif

}  // namespace
}  // namespace mirovane
