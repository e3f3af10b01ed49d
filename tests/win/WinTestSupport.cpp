#include "WinTestSupport.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

namespace wrenfold::wintest {

TempFolder::TempFolder() {
  static int counter = 0;
  char temp[MAX_PATH + 1] = {};
  ::GetTempPathA(MAX_PATH, temp);
  folder_ = std::string(temp) + "wrenfold-tests-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "\\";
  ::CreateDirectoryA(folder_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAA found{};
  const HANDLE search = ::FindFirstFileA((folder_ + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string file = folder_ + found.cFileName;
      ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA(file.c_str());
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(folder_.c_str());
}

void WriteRawFile(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot create " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::string ReadRawFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return "<missing>";
  std::string bytes;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

}  // namespace wrenfold::wintest
