#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/HooksLibrary.h"
#include "platform/System.h"
#include "platform/UserInterface.h"
#include "support/FakeFileSystem.h"
#include "ui/Options.h"

namespace wrenfold::fake {

// One log of calls shared by the fakes, to check the order of what the program does.
using CallLog = std::vector<std::string>;

class FakeSystem final : public ISystem {
 public:
  FakeSystem(FakeFileSystem& files, CallLog& log) : files_(files), log_(log) {}

  [[nodiscard]] std::string ExecutablePath() const override { return exePath; }
  [[nodiscard]] DriveKind DriveKindOf(const std::string& folder) const override;
  [[nodiscard]] std::string EnvironmentVariable(const std::string& name) const override;
  [[nodiscard]] bool ForceDirectories(const std::string& folder) override;
  [[nodiscard]] std::optional<std::string> ReadMachineText(const std::string& key, const std::string& name) const override;
  [[nodiscard]] bool FileExists(const std::string& path) const override;
  [[nodiscard]] bool RemoveFile(const std::string& path) override;
  [[nodiscard]] std::optional<std::string> SpecialFolder(int csidl) const override;
  [[nodiscard]] bool SaveShellLink(const std::string& linkPath, const std::string& target,
                                   const std::string& workingFolder, const std::string& iconPath,
                                   int iconIndex) override;
  [[nodiscard]] std::optional<std::array<std::uint16_t, 4>> FileVersion(const std::string& path) const override;

  std::string exePath = "C:\\Program Files\\Wrenfold\\wrenfold.exe";
  std::map<std::string, DriveKind> drives;             // by folder; Fixed when not listed
  std::map<std::string, std::string> environment;
  std::set<std::string> folders;                       // folders that exist
  bool folderCreationFails = false;
  std::map<std::pair<std::string, std::string>, std::string> machineTexts;
  std::map<int, std::string> specialFolders;
  std::map<std::string, std::array<std::uint16_t, 4>> versions;
  struct Link {
    std::string target, workingFolder, iconPath;
    int iconIndex;
  };
  std::map<std::string, Link> links;                   // saved shortcuts by path
  mutable int registryReads = 0;

 private:
  FakeFileSystem& files_;
  CallLog& log_;
};

class FakeHooksLibrary final : public IHooksLibrary {
 public:
  explicit FakeHooksLibrary(CallLog& log) : log_(log) {}

  [[nodiscard]] bool Load(const std::string& path) override;
  [[nodiscard]] bool Loaded() const override { return loaded; }
  [[nodiscard]] bool HasRegisterHooks() const override { return loaded && hasRegister; }
  [[nodiscard]] bool HasUnregisterHooks() const override { return loaded && hasUnregister; }
  [[nodiscard]] bool RegisterHooks() override;
  void UnregisterHooks() override;
  void Unload() override;

  bool loadFails = false;
  bool hasRegister = true;
  bool hasUnregister = true;
  bool registerAnswer = true;
  bool loaded = false;
  int registerCalls = 0;
  int unregisterCalls = 0;
  int unloadCalls = 0;

 private:
  CallLog& log_;
};

class FakeUserInterface final : public IUserInterface {
 public:
  explicit FakeUserInterface(CallLog& log) : log_(log) {}

  [[nodiscard]] unsigned RegisterMessage(std::string_view name) override;
  void BroadcastMessage(unsigned message) override;
  void ShowMessage(const std::string& text) override;

  std::map<std::string, unsigned, std::less<>> registered;
  std::vector<unsigned> broadcasts;
  std::vector<std::string> messages;

 private:
  CallLog& log_;
};

// A confirmation that answers as told and remembers what it was shown.
class FakeConfirmDialog final : public IConfirmDialog {
 public:
  explicit FakeConfirmDialog(CallLog& log) : log_(log) {}
  void SetQuestion(const std::u16string& text) override { question = text; }
  void SetDontShowAgain(bool checked) override { box = checked; }
  [[nodiscard]] bool DontShowAgain() const override { return box; }
  [[nodiscard]] DialogResult ShowModal() override;

  std::u16string question;
  bool box = false;
  int showings = 0;
  DialogResult answer = DialogResult::Yes;
  bool tickBox = false;           // the user ticks the box before answering
  std::vector<bool> boxWhenShown;  // the box's state as each showing began

 private:
  CallLog& log_;
};

class FakeOptionsView final : public IOptionsView {
 public:
  explicit FakeOptionsView(CallLog& log) : dialog(log), largeDialog(log), log_(log) {}

  void SetCaption(const std::u16string& text) override;
  void SelectPage(int index) override;
  [[nodiscard]] bool IsVisible() const override { return visible; }
  void Hide() override;
  void ShowNormal() override { visible = true; }
  void RemoveMenuItem(MenuItemId id) override;
  void EnableMenuItem(MenuItemId id, bool enabled) override;
  void BringLastActivePopupForward() override { log_.push_back("popup forward"); }
  [[nodiscard]] IConfirmDialog& DlgDontShowAgain() override { return dialog; }
  [[nodiscard]] IConfirmDialog& DlgDontShowAgainLarge() override { return largeDialog; }
  void ShowTrayIcon(const std::u16string& text) override;
  void RemoveTrayIcon() override;
  void SetTimerEnabled(TimerId timer, bool enabled) override;
  void ShowSplash() override;
  void DestroySplash() override;
  void CloseAsMainWindow() override;

  std::u16string caption;
  std::u16string tooltip;
  bool trayIcon = false;
  bool visible = false;
  int page = -1;
  std::set<MenuItemId> removedItems;
  std::map<MenuItemId, bool> enabled;           // items never touched are absent
  std::map<MenuItemId, std::vector<bool>> enabledHistory;
  FakeConfirmDialog dialog;
  FakeConfirmDialog largeDialog;
  std::map<TimerId, bool> timers;
  bool splashShown = false;
  int splashDestroyed = 0;
  int closeRequests = 0;

 private:
  CallLog& log_;
};

}  // namespace wrenfold::fake
