#include "app/HooksBinding.h"

#include "platform/Error.h"
#include "platform/Trace.h"

namespace wrenfold {

std::string HooksBinding::Bind(const std::string& programFolder) {
  const auto path = programFolder + std::string(kHooksLibraryFile);
  if (!system_.FileExists(path)) return Substitute(kHooksNotFound, kHooksLibraryFile);
  if (!library_.Load(path) || !library_.HasRegisterHooks() || !library_.RegisterHooks()) {
    return Substitute(kHooksNotLoaded, kHooksLibraryFile);
  }
  Trace("hooks registered");
  return {};
}

void HooksBinding::Release(unsigned clearWindowMenuMessage, bool unload) {
  if (!released_) {
    released_ = true;
    ui_.BroadcastMessage(clearWindowMenuMessage);
    if (library_.HasUnregisterHooks()) library_.UnregisterHooks();
    Trace("hooks released");
  }
  if (unload) Unload();
}

void HooksBinding::Unload() {
  if (library_.Loaded()) library_.Unload();
}

}  // namespace wrenfold
