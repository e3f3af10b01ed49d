#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wrenfold {

// Paths are ANSI text, as everywhere in the program.
class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  enum class ReadStatus { Ok, Missing, Failed };
  struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::string contents;
  };

  // Reads at most `limit` bytes from the start of the file.
  [[nodiscard]] virtual ReadResult ReadFile(const std::string& path, std::size_t limit) = 0;

  // Writes `contents` to a new file beside `path`, then renames it over `path` in one step,
  // so that a reader sees the old file or the new one and never a half-written one. On
  // failure `path` is left as it was and the file beside it is removed.
  [[nodiscard]] virtual bool ReplaceContents(const std::string& path, std::string_view contents) = 0;

  // Size in bytes, or nothing when the file does not exist or cannot be asked.
  [[nodiscard]] virtual std::optional<std::int64_t> FileSize(const std::string& path) = 0;
};

}  // namespace wrenfold
