#include "storage/StartAtLogon.h"

#include "app/Folders.h"

namespace wrenfold {

std::string GetSpecialFolderPath(const ISystem& system, int csidl) {
  const auto folder = system.SpecialFolder(csidl);
  return folder && !folder->empty() ? *folder + "\\" : std::string();
}

bool CreateShortcut(ISystem& system, const std::string& folder, const std::string& target, std::string_view name) {
  std::string link = folder;
  if (link.empty() || link.back() != '\\') link += '\\';
  link += name;
  link += ".lnk";
  return system.SaveShellLink(link, target, FolderOf(target), target, 0);
}

std::string StartAtLogonShortcut(const std::string& startupFolder) {
  return startupFolder + std::string(kShortcutName) + ".lnk";
}

bool StartAtLogonShortcutExists(const ISystem& system, const std::string& startupFolder) {
  return !startupFolder.empty() && system.FileExists(StartAtLogonShortcut(startupFolder));
}

void ApplyStartAtLogon(ISystem& system, const std::string& startupFolder, const std::string& exePath, bool ticked) {
  // Without a Startup folder the shortcut's path would be relative to wherever we run.
  if (startupFolder.empty()) return;
  const auto shortcut = StartAtLogonShortcut(startupFolder);
  const bool exists = system.FileExists(shortcut);
  if (ticked && !exists) {
    CreateShortcut(system, startupFolder, exePath, kShortcutName);
  } else if (!ticked && exists) {
    (void)system.RemoveFile(shortcut);
  }
}

}  // namespace wrenfold
