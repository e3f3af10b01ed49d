// FindSettings over 1,000 per-application records. The watch asks it for every held window every
// half second, so it must not grow with the list.
#include <benchmark/benchmark.h>

#include "support/FakeText.h"
#include "trayer/SettingsIndex.h"
#include "trayer/Trayer.h"

namespace wrenfold {
namespace {

constexpr int kRecords = 1000;

TTraySettingsList MakeList() {
  TTraySettingsList list;
  for (int i = 0; i < kRecords; ++i) list.Add("Application" + std::to_string(i) + ".exe");
  return list;
}

const char* const kLast = "C:\\Program Files\\Vendor\\APPLICATION999.EXE";
const char* const kNone = "C:\\Program Files\\Vendor\\unknown.exe";

void BM_FindSettings(benchmark::State& state, const char* path) {
  fake::FakeTextServices text;
  TTrayer trayer(text);
  trayer.SetSpecialSettings(MakeList());
  for (auto _ : state) benchmark::DoNotOptimize(trayer.FindSettings(path));
}
BENCHMARK_CAPTURE(BM_FindSettings, last_of_1000, kLast);
BENCHMARK_CAPTURE(BM_FindSettings, none_of_1000, kNone);

// The plain walk: lower-case every record's name on every lookup. Kept as the baseline that the
// index is measured against.
void BM_LinearWalk(benchmark::State& state, const char* path) {
  fake::FakeTextServices text;
  const auto list = MakeList();
  for (auto _ : state) {
    const auto wanted = text.AnsiLowerCase(FileNamePart(path));
    const TTraySettings* found = nullptr;
    for (std::size_t i = 0; i < list.Count() && !found; ++i) {
      if (text.AnsiLowerCase(list[i].AppName) == wanted) found = &list[i];
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK_CAPTURE(BM_LinearWalk, last_of_1000, kLast);
BENCHMARK_CAPTURE(BM_LinearWalk, none_of_1000, kNone);

}  // namespace
}  // namespace wrenfold
