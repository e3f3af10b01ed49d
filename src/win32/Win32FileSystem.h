#pragma once

#include "platform/FileSystem.h"

namespace wrenfold::win32 {

class Win32FileSystem final : public IFileSystem {
 public:
  [[nodiscard]] ReadResult ReadFile(const std::string& path, std::size_t limit) override;
  [[nodiscard]] bool ReplaceContents(const std::string& path, std::string_view contents) override;
  [[nodiscard]] std::optional<std::int64_t> FileSize(const std::string& path) override;
};

}  // namespace wrenfold::win32
