#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_paths.h"
#include "app/instance_guard.h"

namespace mirovane {
namespace {

TEST(InstanceGuardName, UsesLastFolderAndFileName) {
  EXPECT_EQ(InstanceGuardName(L"D:\\Tools\\Clock\\Mirovane.exe"), L"Mirovane_Clock_Mirovane.exe");
  // Only the last folder counts: copies in C:\a\Clock and D:\b\Clock share one guard, a copy in a
  // folder with another name has its own.
  EXPECT_EQ(InstanceGuardName(L"C:\\a\\Clock\\Mirovane.exe"),
            InstanceGuardName(L"D:\\b\\Clock\\Mirovane.exe"));
  EXPECT_NE(InstanceGuardName(L"C:\\a\\Clock\\Mirovane.exe"),
            InstanceGuardName(L"C:\\a\\Other\\Mirovane.exe"));
  // The file name is taken as it is, extension included.
  EXPECT_EQ(InstanceGuardName(L"C:\\x\\Clock\\clock2.EXE"), L"Mirovane_Clock_clock2.EXE");
  EXPECT_EQ(InstanceGuardName(L"C:/Program Files/My Clock/Mirovane.exe"),
            L"Mirovane_My Clock_Mirovane.exe");
  EXPECT_EQ(InstanceGuardName(L"\\\\server\\share\\Mirovane.exe"), L"Mirovane_share_Mirovane.exe");
  EXPECT_EQ(InstanceGuardName(L"C:\\時計\\ミロ.exe"), L"Mirovane_時計_ミロ.exe");
}

TEST(InstanceGuardName, RootFolderGivesEmptyFolderComponent) {
  EXPECT_EQ(InstanceGuardName(L"D:\\Mirovane.exe"), L"Mirovane__Mirovane.exe");
  EXPECT_EQ(InstanceGuardName(L"D:/Mirovane.exe"), L"Mirovane__Mirovane.exe");
  EXPECT_EQ(InstanceGuardName(L"\\\\?\\D:\\Mirovane.exe"), L"Mirovane__Mirovane.exe");
  EXPECT_EQ(InstanceGuardName(L"Mirovane.exe"), L"Mirovane__Mirovane.exe");
  // A doubled separator does not turn the folder name into nothing.
  EXPECT_EQ(InstanceGuardName(L"C:\\Clock\\\\Mirovane.exe"), L"Mirovane_Clock_Mirovane.exe");
}

TEST(AppPaths, AlarmListAndReadmeLieBesideTheExecutable) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path("base") / "my.clock";
  EXPECT_EQ(AlarmListPathFor(folder / "Mirovane.exe"), folder / "Mirovane.txt");
  EXPECT_EQ(AlarmListPathFor(folder / "a.b.exe"), folder / "a.b.txt");
  // A dot in the folder name is not an extension.
  EXPECT_EQ(AlarmListPathFor(folder / "Mirovane"), folder / "Mirovane.txt");
  EXPECT_EQ(ReadmePathFor(folder / "Mirovane.exe"), folder / "Readme.txt");
}

}  // namespace
}  // namespace mirovane
