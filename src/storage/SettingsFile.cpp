#include "storage/SettingsFile.h"

#include "platform/Error.h"
#include "storage/IniFile.h"
#include "trayer/SettingsIndex.h"

namespace wrenfold {
namespace {

// Settings files are a few kilobytes; anything past this is not ours to read.
constexpr std::size_t kMaxFileSize = 64u << 20;

constexpr std::string_view kDefault = "Default";
constexpr std::string_view kSpecApp = "SpecApp";
constexpr std::string_view kUnableToWrite = "Unable to write to %s";

// Reads keys of one section with the defaults the program gives them.
class SectionReader {
 public:
  SectionReader(const IniDocument& doc, std::string_view section) : doc_(doc), section_(section) {}

  [[nodiscard]] std::optional<std::string> Text(std::string_view key) const { return doc_.ReadString(section_, key); }
  [[nodiscard]] std::string Text(std::string_view key, std::string_view fallback) const {
    auto value = Text(key);
    return value ? *value : std::string(fallback);
  }
  [[nodiscard]] std::int32_t Integer(std::string_view key, std::int32_t fallback) const {
    const auto value = Text(key);
    const auto parsed = value ? ParseInteger(*value) : std::nullopt;
    return parsed ? *parsed : fallback;
  }
  [[nodiscard]] bool Boolean(std::string_view key, bool fallback) const {
    return Integer(key, fallback ? 1 : 0) != 0;
  }

 private:
  const IniDocument& doc_;
  std::string_view section_;
};

class SectionWriter {
 public:
  SectionWriter(IniDocument& doc, std::string section) : doc_(doc), section_(std::move(section)) {}
  void Text(std::string_view key, std::string_view value) { doc_.WriteString(section_, key, value); }
  void Integer(std::string_view key, std::int32_t value) { Text(key, std::to_string(value)); }
  void Boolean(std::string_view key, bool value) { Text(key, value ? "1" : "0"); }

 private:
  IniDocument& doc_;
  std::string section_;
};

std::string SpecAppSection(std::size_t n) { return std::string(kSpecApp) + std::to_string(n); }

void ReadSpecialRecord(const SectionReader& keys, TTraySettings& record) {
  record.AppFullName = keys.Text("AppFullName", "");
  record.ImageIndex = record.AppFullName.empty() ? keys.Integer("ImageIndex", -1) : -1;
  record.AppDescription = Utf8ToUtf16(keys.Text("AppDescription", ""));
  record.UseWrenfold = keys.Boolean("UseWrenfold", false);
  // Written as RCMinDest, like [Default]; files that name it RClickMinDest keep their value.
  auto destination = keys.Text("RCMinDest");
  if (!destination) destination = keys.Text("RClickMinDest", "0");
  record.RClickMinDest = *destination != "0" ? TrayingDestination::Hide : TrayingDestination::Tray;
  record.ShowInAltTab = keys.Boolean("ShowInAltTab", false);
  record.ReplMinWithTray = keys.Boolean("ReplMinWithTray", false);
  record.HideByRC = keys.Boolean("HideByRC", true);
  record.ShowOnFocusSteal = keys.Boolean("ShowOnFocusSteal", false);
}

IniDocument LoadForWriting(IFileSystem& files, const std::string& path) {
  auto read = files.ReadFile(path, kMaxFileSize + 1);
  if (read.status == IFileSystem::ReadStatus::Missing) return {};
  // Rewriting a file we could not read whole would lose what we did not see.
  if (read.status != IFileSystem::ReadStatus::Ok || read.contents.size() > kMaxFileSize) {
    throw Error(Substitute(kUnableToWrite, path));
  }
  return IniDocument::Parse(read.contents);
}

void Store(IFileSystem& files, const std::string& path, const IniDocument& doc) {
  if (!files.ReplaceContents(path, doc.Serialize())) throw Error(Substitute(kUnableToWrite, path));
}

void WriteDefaultKey(IFileSystem& files, const std::string& path, std::string_view key) {
  auto doc = LoadForWriting(files, path);
  doc.WriteString(kDefault, key, "1");
  Store(files, path, doc);
}

}  // namespace

void ReadSettingsFile(IFileSystem& files, const std::string& path, const ITextServices& text, TTrayer& trayer,
                      DontShowFlags& flags) {
  auto read = files.ReadFile(path, kMaxFileSize);
  const auto doc = read.status == IFileSystem::ReadStatus::Ok ? IniDocument::Parse(read.contents) : IniDocument{};
  read.contents.clear();

  const SectionReader defaults(doc, kDefault);
  auto& record = trayer.DefaultSettings();
  record.RClickMinDest =
      defaults.Integer("RCMinDest", 0) == 1 ? TrayingDestination::Hide : TrayingDestination::Tray;
  record.ReplMinWithTray = defaults.Boolean("ReplMinWithTray", false);
  record.HideByRC = defaults.Boolean("HideByRC", true);
  record.ShowOnFocusSteal = defaults.Boolean("ShowOnFocusSteal", false);
  record.SkipAnimation = defaults.Boolean("SkipAnimation", true);
  flags.DontShowCancelConf = defaults.Boolean("DontShowCancelConf", false);
  flags.DontShowPopupsConf = defaults.Boolean("DontShowPopupsConf", false);
  flags.DontShowCloseAllConf = defaults.Boolean("DontShowCloseAllConf", false);
  record.ShowInAltTab = defaults.Boolean("ShowInAltTab", false);
  record.UseWrenfold = true;

  TTraySettingsList list;
  SettingsIndex index(text);
  for (std::size_t n = 0;; ++n) {
    const auto section = SpecAppSection(n);
    if (!doc.SectionHasKeys(section)) break;
    const SectionReader keys(doc, section);
    const auto appName = keys.Text("AppName", "");
    // A section without a name can match no window; it is passed over.
    if (appName.empty()) continue;

    TTraySettings* target;
    if (const auto position = index.Find(appName)) {
      target = &list[*position];
      index.Renamed(*position, target->AppName, appName);
    } else {
      index.Appended(list.Count(), appName);
      target = &list.Add(appName);
    }
    target->AppName = appName;
    ReadSpecialRecord(keys, *target);
  }
  trayer.SetSpecialSettings(std::move(list));
}

void WriteSettingsFile(IFileSystem& files, const std::string& path, const CommonPageState& common,
                       const DontShowFlags& flags, const TTraySettingsList& special, SettingsWrite mode) {
  auto doc = mode == SettingsWrite::IntoExisting ? LoadForWriting(files, path) : IniDocument{};

  SectionWriter defaults(doc, std::string(kDefault));
  defaults.Integer("RCMinDest", common.rgTrayingDestination);
  defaults.Boolean("ReplMinWithTray", common.cbReplMinWithTray);
  defaults.Boolean("HideByRC", common.cbHideByRC);
  defaults.Boolean("ShowOnFocusSteal", common.cbShowOnFocusSteal);
  defaults.Boolean("SkipAnimation", common.cbSkipAnimation);
  defaults.Boolean("DontShowCancelConf", flags.DontShowCancelConf);
  defaults.Boolean("DontShowPopupsConf", flags.DontShowPopupsConf);
  defaults.Boolean("DontShowCloseAllConf", flags.DontShowCloseAllConf);

  for (std::size_t i = 0; i < special.Count(); ++i) {
    const auto& record = special[i];
    SectionWriter keys(doc, SpecAppSection(i));
    keys.Text("AppName", record.AppName);
    keys.Text("AppFullName", record.AppFullName);
    keys.Integer("ImageIndex", record.AppFullName.empty() ? record.ImageIndex : -1);
    keys.Text("AppDescription", Utf16ToUtf8(record.AppDescription));
    keys.Boolean("UseWrenfold", record.UseWrenfold);
    keys.Boolean("RCMinDest", record.RClickMinDest == TrayingDestination::Hide);
    keys.Boolean("ShowInAltTab", record.ShowInAltTab);
    keys.Boolean("ReplMinWithTray", record.ReplMinWithTray);
    keys.Boolean("HideByRC", record.HideByRC);
    keys.Boolean("ShowOnFocusSteal", record.ShowOnFocusSteal);
  }
  Store(files, path, doc);
}

void WriteDontShowCancelConf(IFileSystem& files, const std::string& path) {
  WriteDefaultKey(files, path, "DontShowCancelConf");
}

void WriteDontShowCloseAllConf(IFileSystem& files, const std::string& path) {
  WriteDefaultKey(files, path, "DontShowCloseAllConf");
}

std::int64_t FileSizeOf(IFileSystem& files, const std::string& path) {
  const auto size = files.FileSize(path);
  return size ? *size : -1;
}

}  // namespace wrenfold
