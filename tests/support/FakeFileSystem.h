#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace wrenfold::fake {

// Files in memory, keyed by path. Reads and writes can be made to fail per path.
class FakeFileSystem final : public IFileSystem {
 public:
  [[nodiscard]] ReadResult ReadFile(const std::string& path, std::size_t limit) override;
  [[nodiscard]] bool ReplaceContents(const std::string& path, std::string_view contents) override;
  [[nodiscard]] std::optional<std::int64_t> FileSize(const std::string& path) override;

  std::map<std::string, std::string> files;
  std::set<std::string> failReads;
  std::set<std::string> failWrites;
  int writes = 0;
};

}  // namespace wrenfold::fake
