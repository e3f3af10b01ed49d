#pragma once

#include <functional>
#include <string_view>

namespace wrenfold {

// A diagnostic trace of what the program does, off unless a sink is set (the Windows build sets
// one when WRENFOLD_TRACE names a file). Tests read it to see inside the running program.
void SetTraceSink(std::function<void(std::string_view)> sink);
[[nodiscard]] bool TraceEnabled();
void Trace(std::string_view line);

}  // namespace wrenfold
