#pragma once

#include <stdexcept>
#include <string>

namespace wrenfold {

// The program's one error type. It carries a fixed English message; a command
// handler that lets one escape has it shown in the program's error box.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Fills the single "%s" of a fixed message, as in "Unable to write to %s".
[[nodiscard]] std::string Substitute(std::string_view pattern, std::string_view argument);

}  // namespace wrenfold
