#pragma once

#include <string>
#include <string_view>

namespace wrenfold {

// Program-wide user-interface services.
class IUserInterface {
 public:
  virtual ~IUserInterface() = default;

  [[nodiscard]] virtual unsigned RegisterMessage(std::string_view name) = 0;
  // Sends to every top-level window; a window that does not answer in time is passed over.
  virtual void BroadcastMessage(unsigned message) = 0;
  // A plain message box captioned with the application title, one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace wrenfold
