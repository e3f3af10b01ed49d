#include "support/FakePlatform.h"

namespace wrenfold::fake {

DriveKind FakeSystem::DriveKindOf(const std::string& folder) const {
  const auto found = drives.find(folder);
  return found == drives.end() ? DriveKind::Fixed : found->second;
}

std::string FakeSystem::EnvironmentVariable(const std::string& name) const {
  const auto found = environment.find(name);
  return found == environment.end() ? std::string() : found->second;
}

bool FakeSystem::ForceDirectories(const std::string& folder) {
  log_.push_back("create folder " + folder);
  if (folderCreationFails) return false;
  folders.insert(folder);
  return true;
}

std::optional<std::string> FakeSystem::ReadMachineText(const std::string& key, const std::string& name) const {
  ++registryReads;
  const auto found = machineTexts.find({key, name});
  if (found == machineTexts.end()) return std::nullopt;
  return found->second;
}

bool FakeSystem::FileExists(const std::string& path) const {
  return files_.files.count(path) > 0 || links.count(path) > 0;
}

bool FakeSystem::RemoveFile(const std::string& path) {
  log_.push_back("delete " + path);
  return files_.files.erase(path) + links.erase(path) > 0;
}

std::optional<std::string> FakeSystem::SpecialFolder(int csidl) const {
  const auto found = specialFolders.find(csidl);
  if (found == specialFolders.end()) return std::nullopt;
  return found->second;
}

bool FakeSystem::SaveShellLink(const std::string& linkPath, const std::string& target,
                               const std::string& workingFolder, const std::string& iconPath, int iconIndex) {
  log_.push_back("save link " + linkPath);
  links[linkPath] = {target, workingFolder, iconPath, iconIndex};
  return true;
}

std::optional<std::array<std::uint16_t, 4>> FakeSystem::FileVersion(const std::string& path) const {
  const auto found = versions.find(path);
  if (found == versions.end()) return std::nullopt;
  return found->second;
}

bool FakeHooksLibrary::Load(const std::string& path) {
  log_.push_back("load " + path);
  loaded = !loadFails;
  return loaded;
}

bool FakeHooksLibrary::RegisterHooks() {
  log_.push_back("RegisterHooks");
  ++registerCalls;
  return registerAnswer;
}

void FakeHooksLibrary::UnregisterHooks() {
  log_.push_back("UnregisterHooks");
  ++unregisterCalls;
}

void FakeHooksLibrary::Unload() {
  log_.push_back("unload");
  ++unloadCalls;
  loaded = false;
}

unsigned FakeUserInterface::RegisterMessage(std::string_view name) {
  const auto found = registered.find(name);
  if (found != registered.end()) return found->second;
  const unsigned number = 0xC000u + static_cast<unsigned>(registered.size());
  registered.emplace(std::string(name), number);
  return number;
}

void FakeUserInterface::BroadcastMessage(unsigned message) {
  log_.push_back("broadcast " + std::to_string(message));
  broadcasts.push_back(message);
}

void FakeUserInterface::ShowMessage(const std::string& text) {
  log_.push_back("message " + text);
  messages.push_back(text);
}

void FakeOptionsView::SetCaption(const std::u16string& text) { caption = text; }
void FakeOptionsView::SelectPage(int index) { page = index; }
void FakeOptionsView::Hide() {
  log_.push_back("hide settings window");
  visible = false;
}
void FakeOptionsView::RemoveMenuItem(MenuItemId id) { removedItems.insert(id); }
void FakeOptionsView::EnableMenuItem(MenuItemId id, bool on) {
  enabled[id] = on;
  enabledHistory[id].push_back(on);
}

DialogResult FakeConfirmDialog::ShowModal() {
  log_.push_back("confirm");
  ++showings;
  boxWhenShown.push_back(box);
  if (tickBox) box = true;
  return answer;
}
void FakeOptionsView::ShowTrayIcon(const std::u16string& text) {
  log_.push_back("tray icon");
  tooltip = text;
  trayIcon = true;
}
void FakeOptionsView::RemoveTrayIcon() {
  log_.push_back("remove tray icon");
  trayIcon = false;
}
void FakeOptionsView::SetTimerEnabled(TimerId timer, bool enabled) { timers[timer] = enabled; }
void FakeOptionsView::ShowSplash() {
  log_.push_back("splash");
  splashShown = true;
}
void FakeOptionsView::DestroySplash() { ++splashDestroyed; }
void FakeOptionsView::CloseAsMainWindow() {
  log_.push_back("close main window");
  ++closeRequests;
}

}  // namespace wrenfold::fake
