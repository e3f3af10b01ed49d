#pragma once

#include <string>

namespace wrenfold::wintest {

// A fresh folder of its own under the system's temporary folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Full path of a file in the folder, with trailing name.
  [[nodiscard]] std::string Path(const std::string& name) const { return folder_ + name; }

 private:
  std::string folder_;  // with trailing backslash
};

// Writes bytes exactly as given, through the C runtime, bypassing the code under test.
void WriteRawFile(const std::string& path, const std::string& bytes);
[[nodiscard]] std::string ReadRawFile(const std::string& path);

}  // namespace wrenfold::wintest
