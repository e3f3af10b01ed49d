#pragma once

#include <windows.h>

#include "ui/Confirm.h"
#include "win32/UniqueHandle.h"
#include "win32/Window.h"

namespace wrenfold::win32 {

// "Confirmation": a question, a question-mark picture, "Don't Show this message again", Yes and
// No. No title-bar buttons; Esc answers No. Shown modally through our own message loop, so hook
// events and timers go on meanwhile.
class ConfirmDialog final : public Window, public IConfirmDialog {
 public:
  enum class Size { Small, Large };
  explicit ConfirmDialog(Size size) : size_(size) {}
  bool Create(const wchar_t* className, HWND owner);

  void SetQuestion(const std::u16string& question) override;
  void SetDontShowAgain(bool checked) override;
  [[nodiscard]] bool DontShowAgain() const override;
  [[nodiscard]] DialogResult ShowModal() override;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Layout();
  [[nodiscard]] int Scale(int pixels) const;

  Size size_;
  HWND question_ = nullptr;
  HWND picture_ = nullptr;
  HWND box_ = nullptr;
  HWND yes_ = nullptr;
  HWND no_ = nullptr;
  UniqueFont font_;
  UINT dpi_ = 96;
  bool answered_ = false;
  DialogResult result_ = DialogResult::No;
};

}  // namespace wrenfold::win32
