#include "support/FakeFileSystem.h"

namespace wrenfold::fake {

IFileSystem::ReadResult FakeFileSystem::ReadFile(const std::string& path, std::size_t limit) {
  if (failReads.count(path)) return {ReadStatus::Failed, {}};
  const auto found = files.find(path);
  if (found == files.end()) return {ReadStatus::Missing, {}};
  return {ReadStatus::Ok, found->second.substr(0, limit)};
}

bool FakeFileSystem::ReplaceContents(const std::string& path, std::string_view contents) {
  if (failWrites.count(path)) return false;
  ++writes;
  files[path] = std::string(contents);
  return true;
}

std::optional<std::int64_t> FakeFileSystem::FileSize(const std::string& path) {
  const auto found = files.find(path);
  if (found == files.end() || failReads.count(path)) return std::nullopt;
  return static_cast<std::int64_t>(found->second.size());
}

}  // namespace wrenfold::fake
