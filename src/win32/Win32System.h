#pragma once

#include "platform/HooksLibrary.h"
#include "platform/System.h"
#include "platform/UserInterface.h"
#include "win32/UniqueHandle.h"

namespace wrenfold::win32 {

// Full path of a loaded module's file; the program's own for null.
[[nodiscard]] std::string ModuleFileName(HMODULE module);

class Win32System final : public ISystem {
 public:
  [[nodiscard]] std::string ExecutablePath() const override;
  [[nodiscard]] DriveKind DriveKindOf(const std::string& folder) const override;
  [[nodiscard]] std::string EnvironmentVariable(const std::string& name) const override;
  [[nodiscard]] bool ForceDirectories(const std::string& folder) override;
  [[nodiscard]] std::optional<std::string> ReadMachineText(const std::string& key,
                                                           const std::string& name) const override;
  [[nodiscard]] bool FileExists(const std::string& path) const override;
  [[nodiscard]] bool RemoveFile(const std::string& path) override;
  [[nodiscard]] std::optional<std::string> SpecialFolder(int csidl) const override;
  [[nodiscard]] bool SaveShellLink(const std::string& linkPath, const std::string& target,
                                   const std::string& workingFolder, const std::string& iconPath,
                                   int iconIndex) override;
  [[nodiscard]] std::optional<std::array<std::uint16_t, 4>> FileVersion(const std::string& path) const override;
};

struct ModuleTraits {
  static bool IsValid(HMODULE module) { return module != nullptr; }
  static void Close(HMODULE module) { ::FreeLibrary(module); }
};
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;

class Win32HooksLibrary final : public IHooksLibrary {
 public:
  [[nodiscard]] bool Load(const std::string& path) override;
  [[nodiscard]] bool Loaded() const override { return static_cast<bool>(module_); }
  [[nodiscard]] bool HasRegisterHooks() const override { return register_ != nullptr; }
  [[nodiscard]] bool HasUnregisterHooks() const override { return unregister_ != nullptr; }
  [[nodiscard]] bool RegisterHooks() override;
  void UnregisterHooks() override;
  void Unload() override;

 private:
  using RegisterFn = unsigned char(__stdcall*)(HMODULE);
  using UnregisterFn = void(__stdcall*)();
  UniqueModule module_;
  RegisterFn register_ = nullptr;
  UnregisterFn unregister_ = nullptr;
};

class Win32UserInterface final : public IUserInterface {
 public:
  [[nodiscard]] unsigned RegisterMessage(std::string_view name) override;
  void BroadcastMessage(unsigned message) override;
  void ShowMessage(const std::string& text) override;
};

}  // namespace wrenfold::win32
