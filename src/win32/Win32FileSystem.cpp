#include "win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "win32/UniqueHandle.h"

namespace wrenfold::win32 {

IFileSystem::ReadResult Win32FileSystem::ReadFile(const std::string& path, std::size_t limit) {
  UniqueKernelHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const auto error = ::GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? ReadStatus::Missing : ReadStatus::Failed, {}};
  }
  ReadResult result{ReadStatus::Ok, {}};
  char buffer[64 * 1024];
  while (result.contents.size() < limit) {
    const auto want = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, limit - result.contents.size()));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), buffer, want, &got, nullptr)) return {ReadStatus::Failed, {}};
    if (got == 0) break;
    result.contents.append(buffer, got);
  }
  return result;
}

bool Win32FileSystem::ReplaceContents(const std::string& path, std::string_view contents) {
  // A read-only file is the user's way of saying "leave it"; not every file system refuses
  // the rename over it, so ask first.
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return false;
  }
  const std::string temporary = path + ".new";
  {
    UniqueKernelHandle file(
        ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bool written = true;
    std::size_t done = 0;
    while (written && done < contents.size()) {
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1u << 20));
      DWORD wrote = 0;
      written = ::WriteFile(file.Get(), contents.data() + done, chunk, &wrote, nullptr) && wrote == chunk;
      done += wrote;
    }
    // The data must be on disk before the rename makes it the settings file.
    written = written && ::FlushFileBuffers(file.Get());
    if (!written) {
      file.Reset();
      ::DeleteFileA(temporary.c_str());
      return false;
    }
  }
  if (!::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

std::optional<std::int64_t> Win32FileSystem::FileSize(const std::string& path) {
  // Asks the directory, not the file: a file we may not open still has a size.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace wrenfold::win32
