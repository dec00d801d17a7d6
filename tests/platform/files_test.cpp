#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"

namespace mirovane {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("mirovane-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
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

}  // namespace
}  // namespace mirovane
