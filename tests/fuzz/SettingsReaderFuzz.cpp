// Any bytes as a settings file: reading must neither crash nor hang, and a key we write into
// whatever was there must read back as written.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "storage/IniFile.h"
#include "storage/SettingsFile.h"
#include "support/FakeFileSystem.h"
#include "support/FakeText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wrenfold;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = "C:\\wrenfold.ini";

  fake::FakeFileSystem files;
  fake::FakeTextServices text;
  files.files[path] = bytes;
  TTrayer trayer(text);
  DontShowFlags flags;
  ReadSettingsFile(files, path, text, trayer, flags);
  if (!trayer.DefaultSettings().UseWrenfold) std::abort();
  for (std::size_t i = 0; i < trayer.SpecialSettings().Count(); ++i) {
    const auto& record = trayer.SpecialSettings()[i];
    if (record.AppName.empty()) std::abort();
    // A plain file name always finds a record (the first of its name).
    if (record.AppName.find_first_of("\\:") == std::string::npos && !trayer.FindSettings(record.AppName)) std::abort();
  }

  WriteDontShowCloseAllConf(files, path);
  const auto reread = IniDocument::Parse(files.files[path]);
  if (reread.ReadString("Default", "DontShowCloseAllConf") != "1") std::abort();
  return 0;
}
