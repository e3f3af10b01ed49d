#include "app/Folders.h"

namespace wrenfold {

std::string FolderOf(std::string_view path) {
  const auto cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string DataFolderFor(bool programOnRemovableDrive, std::string_view programFolder, std::string_view homeDrive,
                          std::string_view homePath) {
  if (programOnRemovableDrive) return std::string(programFolder);
  std::string folder(homeDrive);
  folder += homePath;
  // HOMEPATH is "\" for a user at the root; don't double the separator.
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  folder += kDataSubfolder;
  return folder;
}

}  // namespace wrenfold
