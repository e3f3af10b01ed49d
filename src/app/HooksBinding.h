#pragma once

#include <string>
#include <string_view>

#include "platform/HooksLibrary.h"
#include "platform/System.h"
#include "platform/UserInterface.h"

namespace wrenfold {

inline constexpr std::string_view kHooksLibraryFile = "wfnhooks.dll";
inline constexpr std::string_view kHooksNotFound = "Hooks library %s was not found!";
inline constexpr std::string_view kHooksNotLoaded = "Unable to load hooks library %s!";

// The hooks library from load to unload. Released at most once per process, whichever way the
// program ends.
class HooksBinding {
 public:
  HooksBinding(ISystem& system, IHooksLibrary& library, IUserInterface& ui)
      : system_(system), library_(library), ui_(ui) {}

  // Loads ProgramFolder\wfnhooks.dll and registers the hooks. On failure the message for the user,
  // empty on success.
  [[nodiscard]] std::string Bind(const std::string& programFolder);

  // Tells every window to drop what the hooks added, unregisters and (with `unload`) unloads. The
  // library's code may still be on the stack when a sent message (the session-end query) calls
  // this, so unloading can wait for Unload().
  void Release(unsigned clearWindowMenuMessage, bool unload = true);
  void Unload();
  [[nodiscard]] bool Released() const { return released_; }

 private:
  ISystem& system_;
  IHooksLibrary& library_;
  IUserInterface& ui_;
  bool released_ = false;
};

}  // namespace wrenfold
