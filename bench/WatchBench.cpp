// One pass of the half-second watch over 500 held windows, with 1,000 per-application records.
// The desktop answers at no cost, so that what is measured is the watch itself.
#include <benchmark/benchmark.h>

#include "support/FakeText.h"
#include "trayer/Trayer.h"

namespace wrenfold {
namespace {

// Every window exists, is hidden, has no owner and belongs to one of 1,000 applications.
class NullDesktop final : public IDesktop {
 public:
  bool IsWindow(WindowId) const override { return true; }
  bool IsVisible(WindowId) const override { return hidden_ ? false : true; }
  bool IsIconic(WindowId) const override { return false; }
  std::uint32_t Style(WindowId) const override { return 0; }
  std::uint32_t ExStyle(WindowId) const override { return 0; }
  WindowId OwnerOf(WindowId) const override { return {}; }
  WindowId DesktopWindow() const override { return {}; }
  std::u16string Title(WindowId) const override { return u"Window"; }
  std::string ExePathOf(WindowId window) const override {
    return "C:\\Program Files\\Vendor\\Application" + std::to_string(window.value % 1000) + ".exe";
  }
  Rect WindowRect(WindowId) const override { return {}; }
  WindowId FindTopLevel(std::string_view) const override { return {}; }
  WindowId FindChild(WindowId, std::string_view) const override { return {}; }
  std::vector<WindowId> TopLevelWindows() const override { return {}; }
  void Show(WindowId, ShowCommand) override {}
  void PostSysCommand(WindowId, unsigned) override {}
  void SetForeground(WindowId) override {}
  void AnimateCaption(WindowId, const Rect&, const Rect&) override {}

  bool hidden_ = false;
};

class NullWay final : public ITrayIconPort {
 public:
  void SetTooltip(const std::u16string&) override {}
};

class NullWaysBack final : public IWaysBack {
 public:
  std::unique_ptr<ITrayIconPort> AddTrayIcon(const std::string&, const std::u16string&, TrayIconEvents) override {
    return std::make_unique<NullWay>();
  }
  std::unique_ptr<IMenuEntryPort> AddMenuEntry(const std::string&, const std::u16string&,
                                               std::function<void()>) override {
    return nullptr;
  }
};

void BM_WatchPass(benchmark::State& state) {
  fake::FakeTextServices text;
  NullDesktop desktop;
  NullWaysBack ways;
  TTrayer trayer(text, desktop, ways);
  trayer.DefaultSettings().SkipAnimation = true;
  TTraySettingsList list;
  for (int i = 0; i < 1000; ++i) list.Add("Application" + std::to_string(i) + ".exe").ShowOnFocusSteal = false;
  trayer.SetSpecialSettings(std::move(list));
  for (std::uintptr_t i = 1; i <= 500; ++i) trayer.TrayWindow(WindowId{i * 7}, TrayingDestination::Tray);
  desktop.hidden_ = true;
  if (trayer.ContainerCount() != 500) state.SkipWithError("not all windows were held");
  for (auto _ : state) trayer.WatchWindows();
}
BENCHMARK(BM_WatchPass)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wrenfold
