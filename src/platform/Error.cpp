#include "platform/Error.h"

namespace wrenfold {

std::string Substitute(std::string_view pattern, std::string_view argument) {
  std::string result(pattern);
  if (const auto at = result.find("%s"); at != std::string::npos) result.replace(at, 2, argument);
  return result;
}

}  // namespace wrenfold
