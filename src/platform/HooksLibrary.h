#pragma once

#include <string>

namespace wrenfold {

// The outside library that reports clicks on caption buttons.
class IHooksLibrary {
 public:
  virtual ~IHooksLibrary() = default;

  // Loads the library and looks up its two entry points; false when the loader refuses it.
  [[nodiscard]] virtual bool Load(const std::string& path) = 0;
  [[nodiscard]] virtual bool Loaded() const = 0;
  [[nodiscard]] virtual bool HasRegisterHooks() const = 0;
  [[nodiscard]] virtual bool HasUnregisterHooks() const = 0;
  // Calls RegisterHooks with the library's module handle; its one-byte answer.
  [[nodiscard]] virtual bool RegisterHooks() = 0;
  virtual void UnregisterHooks() = 0;
  virtual void Unload() = 0;
};

}  // namespace wrenfold
