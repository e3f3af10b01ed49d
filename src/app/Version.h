#pragma once

#include <string>

#include "platform/System.h"

namespace wrenfold {

// "major.minor.release.build" of an executable's fixed file version, or "1.0.0.0" without one.
[[nodiscard]] std::string GetFileVersionString(const ISystem& system, const std::string& path);

}  // namespace wrenfold
