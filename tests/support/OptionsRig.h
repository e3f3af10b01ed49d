#pragma once

#include <algorithm>
#include <string>

#include "support/FakeDesktop.h"
#include "support/FakePlatform.h"
#include "support/FakeText.h"
#include "ui/Options.h"

namespace wrenfold::fake {

// The settings window over fakes of everything it drives.
struct OptionsRig {
  OptionsRig() {
    system.environment = {{"HOMEDRIVE", "C:"}, {"HOMEPATH", "\\Users\\ann"}, {"ALLUSERSPROFILE", "C:\\All"}};
    system.specialFolders[7] = "C:\\Users\\ann\\Startup";
    files.files[kProgramFolder + "wfnhooks.dll"] = "library";
    TrayerBusy = true;
  }

  // Position of the first logged call that starts with `prefix`, or -1.
  int At(const std::string& prefix) const {
    const auto found =
        std::find_if(log.begin(), log.end(), [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    return found == log.end() ? -1 : static_cast<int>(found - log.begin());
  }
  int Count(const std::string& prefix) const {
    return static_cast<int>(
        std::count_if(log.begin(), log.end(), [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
  }

  const std::string kProgramFolder = "C:\\Program Files\\Wrenfold\\";
  const std::string kDataFolder = "C:\\Users\\ann\\Local Settings\\Application Data\\Pellbrook\\QuillmoorUtilities\\";
  const std::string kSettings = kDataFolder + "wrenfold.ini";
  const std::string kShortcut = "C:\\Users\\ann\\Startup\\Wrenfold.lnk";

  fake::CallLog log;
  fake::FakeFileSystem files;
  fake::FakeSystem system{files, log};
  fake::FakeTextServices text;
  fake::FakeHooksLibrary hooks{log};
  fake::FakeUserInterface ui{log};
  fake::FakeOptionsView view{log};
  fake::FakeDesktop desktop;
  fake::FakeWaysBack waysBack;
  TfrmOptions form{{system, files, text, hooks, ui, desktop, waysBack}, view};
};

}  // namespace wrenfold::fake
