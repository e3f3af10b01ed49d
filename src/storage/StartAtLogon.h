#pragma once

#include <string>
#include <string_view>

#include "platform/System.h"

namespace wrenfold {

inline constexpr int kCsidlStartup = 7;
inline constexpr std::string_view kShortcutName = "Wrenfold";

// A shell special folder with a trailing backslash; empty when the shell cannot give it.
[[nodiscard]] std::string GetSpecialFolderPath(const ISystem& system, int csidl);

// Saves folder\name.lnk pointing at target, started in target's folder, with target's first icon.
bool CreateShortcut(ISystem& system, const std::string& folder, const std::string& target, std::string_view name);

// The start-at-logon setting is the existence of this shortcut in the Startup folder.
[[nodiscard]] std::string StartAtLogonShortcut(const std::string& startupFolder);
[[nodiscard]] bool StartAtLogonShortcutExists(const ISystem& system, const std::string& startupFolder);

// Creates the shortcut when ticked and missing (an existing one is left as it is, wherever it
// points); deletes it when clear and present. Nothing is reported, and nothing is done without a
// Startup folder. Neither outcome is reported: the box shows the file system as it stands.
void ApplyStartAtLogon(ISystem& system, const std::string& startupFolder, const std::string& exePath, bool ticked);

}  // namespace wrenfold
