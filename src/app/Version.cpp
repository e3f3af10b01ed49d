#include "app/Version.h"

namespace wrenfold {

std::string GetFileVersionString(const ISystem& system, const std::string& path) {
  const auto version = system.FileVersion(path);
  if (!version) return "1.0.0.0";
  return std::to_string((*version)[0]) + "." + std::to_string((*version)[1]) + "." + std::to_string((*version)[2]) +
         "." + std::to_string((*version)[3]);
}

}  // namespace wrenfold
