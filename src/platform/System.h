#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace wrenfold {

enum class DriveKind { Unknown, NoRootFolder, Removable, Fixed, Remote, CdRom, RamDisk };

// Kernel, registry and shell services. Paths are ANSI text.
class ISystem {
 public:
  virtual ~ISystem() = default;

  [[nodiscard]] virtual std::string ExecutablePath() const = 0;
  [[nodiscard]] virtual DriveKind DriveKindOf(const std::string& folder) const = 0;
  // Empty when the variable is not set.
  [[nodiscard]] virtual std::string EnvironmentVariable(const std::string& name) const = 0;
  // Creates the folder with every missing parent; true when it exists afterwards.
  [[nodiscard]] virtual bool ForceDirectories(const std::string& folder) = 0;
  // A text value under HKEY_LOCAL_MACHINE, opened for reading only; nothing when the key or a
  // text value is missing.
  [[nodiscard]] virtual std::optional<std::string> ReadMachineText(const std::string& key,
                                                                   const std::string& name) const = 0;
  [[nodiscard]] virtual bool FileExists(const std::string& path) const = 0;
  [[nodiscard]] virtual bool RemoveFile(const std::string& path) = 0;
  // A shell special folder (CSIDL value) as a file-system path, without trailing backslash.
  [[nodiscard]] virtual std::optional<std::string> SpecialFolder(int csidl) const = 0;
  // Saves a shell link at linkPath (which must not become the link object's current file).
  [[nodiscard]] virtual bool SaveShellLink(const std::string& linkPath, const std::string& target,
                                           const std::string& workingFolder, const std::string& iconPath,
                                           int iconIndex) = 0;
  // The fixed file version: major, minor, release, build. Nothing without a readable resource.
  [[nodiscard]] virtual std::optional<std::array<std::uint16_t, 4>> FileVersion(const std::string& path) const = 0;
};

}  // namespace wrenfold
