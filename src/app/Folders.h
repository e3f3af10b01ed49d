#pragma once

#include <string>
#include <string_view>

namespace wrenfold {

// Below HOMEDRIVE + HOMEPATH: the family's per-user folder of settings.
inline constexpr std::string_view kDataSubfolder = "\\Local Settings\\Application Data\\Pellbrook\\QuillmoorUtilities\\";

// The folder part of a path, with its trailing backslash ("" when the path names no folder).
[[nodiscard]] std::string FolderOf(std::string_view path);

// Where the settings file lives: beside the program when it runs from a removable drive, else in
// the per-user folder. An unset variable counts as empty.
[[nodiscard]] std::string DataFolderFor(bool programOnRemovableDrive, std::string_view programFolder,
                                        std::string_view homeDrive, std::string_view homePath);

}  // namespace wrenfold
