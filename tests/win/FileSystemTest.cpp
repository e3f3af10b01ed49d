#include <gtest/gtest.h>
#include <windows.h>

#include "WinTestSupport.h"
#include "win32/Win32FileSystem.h"

namespace wrenfold {
namespace {

using wintest::ReadRawFile;
using wintest::WriteRawFile;

TEST(Win32FileSystem, ReadsWholeFilesUpToTheLimit) {
  wintest::TempFolder folder;
  win32::Win32FileSystem files;
  const auto path = folder.Path("a.ini");
  EXPECT_EQ(files.ReadFile(path, 100).status, IFileSystem::ReadStatus::Missing);
  EXPECT_EQ(files.ReadFile(folder.Path("no\\such\\folder.ini"), 100).status, IFileSystem::ReadStatus::Missing);

  std::string big(200000, 'x');
  big[0] = '\0';
  WriteRawFile(path, big);
  auto read = files.ReadFile(path, 1000000);
  EXPECT_EQ(read.status, IFileSystem::ReadStatus::Ok);
  EXPECT_EQ(read.contents, big);
  EXPECT_EQ(files.ReadFile(path, 10).contents.size(), 10u);
}

TEST(Win32FileSystem, ReplacesAFileInOneStep) {
  wintest::TempFolder folder;
  win32::Win32FileSystem files;
  const auto path = folder.Path("wrenfold.ini");
  ASSERT_TRUE(files.ReplaceContents(path, "first\r\n"));
  EXPECT_EQ(ReadRawFile(path), "first\r\n");
  ASSERT_TRUE(files.ReplaceContents(path, "second"));
  EXPECT_EQ(ReadRawFile(path), "second");
  ASSERT_TRUE(files.ReplaceContents(path, ""));
  EXPECT_EQ(files.FileSize(path), 0);
  EXPECT_EQ(ReadRawFile(path + ".new"), "<missing>");  // nothing left beside it
}

TEST(Win32FileSystem, ARefusedWriteLeavesTheOldFileAndNothingBesideIt) {
  wintest::TempFolder folder;
  win32::Win32FileSystem files;
  const auto path = folder.Path("locked.ini");
  WriteRawFile(path, "old");
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(files.ReplaceContents(path, "new"));
  EXPECT_EQ(ReadRawFile(path), "old");
  EXPECT_EQ(ReadRawFile(path + ".new"), "<missing>");

  EXPECT_FALSE(files.ReplaceContents(folder.Path("missing\\wrenfold.ini"), "new"));
}

TEST(Win32FileSystem, FileSize) {
  wintest::TempFolder folder;
  win32::Win32FileSystem files;
  const auto path = folder.Path("size.ini");
  EXPECT_EQ(files.FileSize(path), std::nullopt);
  WriteRawFile(path, "");
  EXPECT_EQ(files.FileSize(path), 0);
  WriteRawFile(path, std::string(12345, 'x'));
  EXPECT_EQ(files.FileSize(path), 12345);
  EXPECT_EQ(files.FileSize(folder.Path("")), std::nullopt);  // a folder has no file size
}

}  // namespace
}  // namespace wrenfold
