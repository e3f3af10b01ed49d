#include "win32/Win32System.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "win32/Win32Text.h"

namespace wrenfold::win32 {
namespace {

template <typename T>
struct ComPtr {
  T* p = nullptr;
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

struct KeyTraits {
  static bool IsValid(HKEY key) { return key != nullptr; }
  static void Close(HKEY key) { ::RegCloseKey(key); }
};
using UniqueKey = UniqueHandle<HKEY, KeyTraits>;

}  // namespace

std::string ModuleFileName(HMODULE module) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return std::string(buffer.data(), length);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32System::ExecutablePath() const { return ModuleFileName(nullptr); }

DriveKind Win32System::DriveKindOf(const std::string& folder) const {
  // The drive type belongs to the volume: ask for the volume's root, which also answers for a
  // program that does not sit at the root of its drive.
  char root[MAX_PATH + 1] = {};
  const std::string query = ::GetVolumePathNameA(folder.c_str(), root, MAX_PATH) ? std::string(root) : folder;
  switch (::GetDriveTypeA(query.c_str())) {
    case DRIVE_NO_ROOT_DIR: return DriveKind::NoRootFolder;
    case DRIVE_REMOVABLE: return DriveKind::Removable;
    case DRIVE_FIXED: return DriveKind::Fixed;
    case DRIVE_REMOTE: return DriveKind::Remote;
    case DRIVE_CDROM: return DriveKind::CdRom;
    case DRIVE_RAMDISK: return DriveKind::RamDisk;
    default: return DriveKind::Unknown;
  }
}

std::string Win32System::EnvironmentVariable(const std::string& name) const {
  const DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::string value(size, '\0');
  const DWORD length = ::GetEnvironmentVariableA(name.c_str(), value.data(), size);
  value.resize(length < size ? length : 0);
  return value;
}

bool Win32System::ForceDirectories(const std::string& folder) {
  const auto isFolder = [](const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  };
  // Each prefix that ends before a backslash, from the top down.
  for (std::size_t at = folder.find('\\'); at != std::string::npos; at = folder.find('\\', at + 1)) {
    const auto prefix = folder.substr(0, at);
    if (prefix.empty() || prefix.back() == ':' || isFolder(prefix)) continue;
    ::CreateDirectoryA(prefix.c_str(), nullptr);
  }
  if (!folder.empty() && folder.back() != '\\' && !isFolder(folder)) ::CreateDirectoryA(folder.c_str(), nullptr);
  return isFolder(folder);
}

std::optional<std::string> Win32System::ReadMachineText(const std::string& key, const std::string& name) const {
  // Read-only access: asking for more fails for a standard user. The family's installers may be
  // 32-bit programs, which register under the 32-bit view.
  for (const REGSAM view : {REGSAM{0}, REGSAM{KEY_WOW64_32KEY}}) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | view, &raw) != ERROR_SUCCESS) continue;
    UniqueKey opened(raw);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(raw, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) continue;
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    std::string value(size, '\0');
    if (::RegQueryValueExA(raw, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS) {
      continue;
    }
    value.resize(std::min<std::size_t>(size, value.size()));
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
  }
  return std::nullopt;
}

bool Win32System::FileExists(const std::string& path) const {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32System::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

std::optional<std::string> Win32System::SpecialFolder(int csidl) const {
  char path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || !path[0]) return std::nullopt;
  std::string folder(path);
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

bool Win32System::SaveShellLink(const std::string& linkPath, const std::string& target,
                                const std::string& workingFolder, const std::string& iconPath, int iconIndex) {
  ComPtr<IShellLinkA> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.p)))) {
    return false;
  }
  link->SetIconLocation(iconPath.c_str(), iconIndex);
  link->SetPath(target.c_str());
  link->SetWorkingDirectory(workingFolder.c_str());
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return false;
  return SUCCEEDED(file->Save(Widen(linkPath).c_str(), FALSE));
}

std::optional<std::array<std::uint16_t, 4>> Win32System::FileVersion(const std::string& path) const {
  const auto wide = Widen(path);
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(wide.c_str(), &handle);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  if (!::GetFileVersionInfoW(wide.c_str(), 0, size, data.data())) return std::nullopt;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return std::array<std::uint16_t, 4>{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                                      HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

bool Win32HooksLibrary::Load(const std::string& path) {
  module_.Reset(::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!module_) return false;
  register_ = reinterpret_cast<RegisterFn>(reinterpret_cast<void*>(::GetProcAddress(module_.Get(), "RegisterHooks")));
  unregister_ =
      reinterpret_cast<UnregisterFn>(reinterpret_cast<void*>(::GetProcAddress(module_.Get(), "UnregisterHooks")));
  return true;
}

bool Win32HooksLibrary::RegisterHooks() { return register_ && register_(module_.Get()) != 0; }

void Win32HooksLibrary::UnregisterHooks() {
  if (unregister_) unregister_();
}

void Win32HooksLibrary::Unload() {
  register_ = nullptr;
  unregister_ = nullptr;
  module_.Reset();
}

unsigned Win32UserInterface::RegisterMessage(std::string_view name) {
  return ::RegisterWindowMessageA(std::string(name).c_str());
}

void Win32UserInterface::BroadcastMessage(unsigned message) {
  // Posted: our hooks put nothing into other programs that they would have to clear up first,
  // and at session end every other program is busy; waiting on them could only hold us up.
  ::PostMessageW(HWND_BROADCAST, message, 0, 0);
}

void Win32UserInterface::ShowMessage(const std::string& text) {
  ::MessageBoxW(nullptr, Widen(text).c_str(), L"Wrenfold", MB_OK);
}

}  // namespace wrenfold::win32
