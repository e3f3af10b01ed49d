#include "platform/Trace.h"

namespace wrenfold {
namespace {
std::function<void(std::string_view)>& Sink() {
  static std::function<void(std::string_view)> sink;
  return sink;
}
}  // namespace

void SetTraceSink(std::function<void(std::string_view)> sink) { Sink() = std::move(sink); }

bool TraceEnabled() { return static_cast<bool>(Sink()); }

void Trace(std::string_view line) {
  if (Sink()) Sink()(line);
}

}  // namespace wrenfold
