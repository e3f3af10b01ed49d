#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "trayer/TraySettings.h"
#include "trayer/Trayer.h"

namespace wrenfold {

inline constexpr std::string_view kSettingsFileName = "wrenfold.ini";

// The settings window's don't-ask-again answers.
struct DontShowFlags {
  bool DontShowCancelConf = false;
  bool DontShowPopupsConf = false;
  bool DontShowCloseAllConf = false;
};

// The controls of the settings window's "Common" page that the settings file is written from.
// The values here are those of a fresh settings window.
struct CommonPageState {
  int rgTrayingDestination = -1;  // selected choice: 0 "Minimize to tray", 1 "Hide", -1 none
  bool cbReplMinWithTray = false;
  bool cbHideByRC = true;
  bool cbShowOnFocusSteal = true;
  bool cbSkipAnimation = false;
};

enum class SettingsWrite {
  IntoExisting,  // set the keys in the file as it stands; other keys and sections stay
  FromScratch,   // the file becomes exactly what is written
};

// Reads [Default] into the trayer's defaults and `flags`, and the per-application sections into a
// new list that the trayer takes over. What is missing or unusable takes its default; a file that
// cannot be read gives all defaults. Never fails.
void ReadSettingsFile(IFileSystem& files, const std::string& path, const ITextServices& text, TTrayer& trayer,
                      DontShowFlags& flags);

// Writes every setting. The file is replaced in one step: on failure it raises
// "Unable to write to %s" and the file is left exactly as it was.
void WriteSettingsFile(IFileSystem& files, const std::string& path, const CommonPageState& common,
                       const DontShowFlags& flags, const TTraySettingsList& special, SettingsWrite mode);

// Don't-ask-again answers written at once, as "1" in [Default]; failures as above.
void WriteDontShowCancelConf(IFileSystem& files, const std::string& path);
void WriteDontShowCloseAllConf(IFileSystem& files, const std::string& path);

// Size of a file in bytes; -1 when it does not exist or cannot be asked.
[[nodiscard]] std::int64_t FileSizeOf(IFileSystem& files, const std::string& path);

}  // namespace wrenfold
