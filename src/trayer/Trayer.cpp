#include "trayer/Trayer.h"

#include "platform/Trace.h"
#include "trayer/WindowHelpers.h"

namespace wrenfold {

TTrayer::TTrayer(const ITextServices& text) : text_(&text), index_(text) {}

TTrayer::TTrayer(const ITextServices& text, IDesktop& desktop, IWaysBack& waysBack)
    : text_(&text), desktop_(&desktop), waysBack_(&waysBack), index_(text) {}

TTrayer::~TTrayer() = default;

const TTraySettings* TTrayer::FindSettings(std::string_view exePath) const {
  const auto position = index_.Find(exePath);
  return position ? &special_[*position] : nullptr;
}

const TTraySettings& TTrayer::EffectiveSettings(std::string_view exePath) const {
  const auto* found = FindSettings(exePath);
  return found ? *found : defaults_;
}

void TTrayer::SetSpecialSettings(TTraySettingsList list) {
  special_ = std::move(list);
  index_.Rebuild(special_);
}

int TTrayer::IndexOfWindow(WindowId window) const {
  for (std::size_t i = 0; i < containers_.size(); ++i) {
    if (containers_[i]->Window == window) return static_cast<int>(i);
  }
  return -1;
}

TWndContainer* TTrayer::ContainerAt(int index) const {
  if (index < 0 || index >= ContainerCount()) return nullptr;
  return containers_[static_cast<std::size_t>(index)].get();
}

bool TTrayer::Gone(WindowId window) const { return !desktop_->IsWindow(window) || desktop_->IsVisible(window); }

WindowId TTrayer::TrayWindow(WindowId window, TrayingDestination destination) {
  BusyScope busy;
  if (HoldsWindow(window)) return kNoSuccess;
  auto container = std::make_unique<TWndContainer>();
  container->Window = window;
  container->Owner = TopLevelOwner(*desktop_, window);
  container->Title = ReadWindowTitle(*desktop_, window);
  container->ExePath = ExePathOfWindow(*desktop_, window);
  container->Destination = destination;
  container->Trayer = this;
  containers_.push_back(std::move(container));
  const int index = ContainerCount() - 1;
  PutAway(*containers_.back());
  if (containers_[static_cast<std::size_t>(index)]->Held) {
    if (TraceEnabled()) Trace("put away window=" + std::to_string(window.value));
    return window;
  }
  // Without a way back the window was left as it was; nothing of it stays behind.
  DropContainer(index);
  return kNoSuccess;
}

void TTrayer::PutAway(TWndContainer& container) {
  if (container.Held || (desktop_->Style(container.Window) & style::Child)) return;
  if (!MakeWayBack(container)) return;
  Animate(container.Window, true);
  desktop_->Show(container.Window, ShowCommand::Hide);
  if (container.Owner && container.Owner != container.Window) desktop_->Show(container.Owner, ShowCommand::Hide);
  container.Held = true;
}

bool TTrayer::MakeWayBack(TWndContainer& container) {
  TWndContainer* self = &container;
  if (container.Destination == TrayingDestination::Tray) {
    TrayIconEvents events;
    events.click = [this, self](MouseButton button) { IconMouseClick(*self, button); };
    events.mouseMove = [this, self] { IconMouseMove(*self); };
    auto port = waysBack_->AddTrayIcon(container.ExePath, container.Title, std::move(events));
    if (!port) return false;
    container.WindowIcon = std::make_unique<TTrTrayIcon>();
    container.WindowIcon->Container = self;
    container.WindowIcon->Port = std::move(port);
    return true;
  }
  auto port = waysBack_->AddMenuEntry(container.ExePath, container.Title, [this, self] { EntryClick(*self); });
  if (!port) return false;
  container.MenuEntry = std::make_unique<TTrMenuItem>();
  container.MenuEntry->Container = self;
  container.MenuEntry->Port = std::move(port);
  return true;
}

void TTrayer::BringBack(TWndContainer& container) {
  container.WindowIcon.reset();
  container.MenuEntry.reset();
  container.Held = false;
  const WindowId window = container.Window;
  const bool ownerHidden = container.Owner && container.Owner != window && desktop_->IsWindow(container.Owner) &&
                           !desktop_->IsVisible(container.Owner);
  if (Gone(window)) {
    // The window came back (or went) by itself; the owner we hid with it must not stay hidden
    // with nothing left to bring it back.
    if (ownerHidden) desktop_->Show(container.Owner, ShowCommand::Show);
    return;
  }
  Animate(window, false);
  if (container.Owner && container.Owner != window) desktop_->Show(container.Owner, ShowCommand::ShowNormal);
  desktop_->Show(window, ShowCommand::Show);
  if (desktop_->IsIconic(window)) desktop_->PostSysCommand(window, syscommand::Restore);
  desktop_->SetForeground(window);
}

void TTrayer::DropContainer(int index) { containers_.erase(containers_.begin() + index); }

WindowId TTrayer::RestoreWindow(WindowId window) {
  BusyScope busy;
  const int index = IndexOfWindow(window);
  if (index < 0) return kNoSuccess;
  auto& container = *containers_[static_cast<std::size_t>(index)];
  if (container.Held) BringBack(container);
  DropContainer(index);
  if (TraceEnabled()) Trace("brought back window=" + std::to_string(window.value));
  return IndexOfWindow(window) < 0 ? window : kNoSuccess;
}

void TTrayer::RestoreAll() {
  BusyScope busy;
  while (!containers_.empty()) {
    BringBack(*containers_.front());
    DropContainer(0);
  }
}

void TTrayer::Dispose() {
  defaults_.SkipAnimation = true;
  RestoreAll();
}

void TTrayer::RefreshTitle(TWndContainer& container) {
  if (!container.Held) return;
  auto title = ReadWindowTitle(*desktop_, container.Window);
  if (title == container.Title) return;
  if (container.WindowIcon) container.WindowIcon->Port->SetTooltip(title);
  if (container.MenuEntry) container.MenuEntry->Port->SetCaption(title);
  container.Title = std::move(title);
}

void TTrayer::RefreshContainers() {
  for (bool restored = true; restored;) {
    restored = false;
    const int count = ContainerCount();
    for (int i = 0; i < count && i < ContainerCount(); ++i) {
      auto& container = *containers_[static_cast<std::size_t>(i)];
      if (Gone(container.Window)) {
        RestoreWindow(container.Window);
        restored = true;
        break;
      }
      RefreshTitle(container);
    }
  }
}

void TTrayer::IconMouseClick(TWndContainer& container, MouseButton button) {
  BusyScope busy;
  if (button == MouseButton::Left) RestoreWindow(container.Window);
}

void TTrayer::IconMouseMove(TWndContainer& container) {
  if (Gone(container.Window)) {
    RestoreWindow(container.Window);
  } else {
    RefreshTitle(container);
  }
}

void TTrayer::EntryClick(TWndContainer& container) {
  BusyScope busy;
  RestoreWindow(container.Window);
}

namespace {

// Spaces and control characters do not make a title.
bool IsBlankTitle(std::u16string_view title) {
  for (const char16_t c : title) {
    if (c > u' ') return false;
  }
  return true;
}

// Makes the candidate list for one bulk command and takes it down again on every way out.
class CandidateScope {
 public:
  explicit CandidateScope(TTrayer& trayer, const IDesktop& desktop) : trayer_(trayer) {
    trayer_.CandidateList.clear();
    for (const WindowId window : desktop.TopLevelWindows()) trayer_.CollectCandidate(window);
  }
  ~CandidateScope() { trayer_.CandidateList.clear(); }
  CandidateScope(const CandidateScope&) = delete;
  CandidateScope& operator=(const CandidateScope&) = delete;

 private:
  TTrayer& trayer_;
};

}  // namespace

void TTrayer::CollectCandidate(WindowId window) {
  if ((desktop_->Style(window) & style::Visible) && !IsBlankTitle(desktop_->Title(window))) {
    CandidateList.push_back(window);
  }
}

int TTrayer::CountCandidateWindows() {
  BusyScope busy;
  CandidateScope candidates(*this, *desktop_);
  return static_cast<int>(CandidateList.size());
}

void TTrayer::CloseAllWindows() {
  BusyScope busy;
  CandidateScope candidates(*this, *desktop_);
  for (const WindowId window : CandidateList) {
    try {
      if (IsOwnWindow(*desktop_, *text_, window, OwnExePath)) continue;
      if (desktop_->IsVisible(window) && !IsShellWindow(*desktop_, *text_, window)) {
        desktop_->PostSysCommand(window, syscommand::Close);
      }
    } catch (const std::exception&) {
      // This window only: the others still get their turn.
    }
  }
}

void TTrayer::TrayAllWindows(TrayingDestination destination) {
  BusyScope busy;
  CandidateScope candidates(*this, *desktop_);
  for (const WindowId window : CandidateList) {
    try {
      const auto exe = ExePathOfWindow(*desktop_, window);
      const bool eligible = EffectiveSettings(exe).UseWrenfold && !IsOwnExecutable(*text_, exe, OwnExePath);
      // Asked again at its turn: an earlier window's owner may have gone with it.
      if (eligible && desktop_->IsVisible(window) && !IsShellWindow(*desktop_, *text_, window)) {
        TrayWindow(window, destination);
      }
    } catch (const std::exception&) {
      // This window only.
    }
  }
}

void TTrayer::WatchWindows() {
  try {
    for (int i = 0; i < ContainerCount();) {
      auto& container = *containers_[static_cast<std::size_t>(i)];
      const bool windowShown = desktop_->IsVisible(container.Window);
      const bool ownerShown =
          container.Owner && container.Owner != container.Window && desktop_->IsVisible(container.Owner);
      if (!windowShown && !ownerShown) {
        ++i;
        continue;
      }
      const bool letBack = EffectiveSettings(container.ExePath).ShowOnFocusSteal;
      if (TraceEnabled()) {
        Trace(std::string(letBack ? "watch let back" : "watch hid again") + " window=" +
              std::to_string(container.Window.value));
      }
      if (letBack) {
        BringBack(container);
        DropContainer(i);
        continue;
      }
      if (windowShown) desktop_->Show(container.Window, ShowCommand::Hide);
      if (ownerShown) desktop_->Show(container.Owner, ShowCommand::Hide);
      ++i;
    }
  } catch (const std::exception&) {
    // The pass ends here; the next one starts afresh.
  }
}

void TTrayer::Animate(WindowId window, bool away) {
  if (defaults_.SkipAnimation) return;
  const WindowId tray = desktop_->FindTopLevel("Shell_TrayWnd");
  const WindowId notify = tray ? desktop_->FindChild(tray, "TrayNotifyWnd") : WindowId{};
  if (!notify) return;
  const Rect windowRect = desktop_->WindowRect(window);
  const Rect notifyRect = desktop_->WindowRect(notify);
  desktop_->AnimateCaption(window, away ? windowRect : notifyRect, away ? notifyRect : windowRect);
}

}  // namespace wrenfold
