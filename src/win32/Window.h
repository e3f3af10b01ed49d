#pragma once

#include <windows.h>

#include <string>

namespace wrenfold::win32 {

// A window of ours: one object per HWND, bound at WM_NCCREATE, messages through OnMessage.
// An exception that leaves a handler is shown in the program's error box and the program goes on.
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  [[nodiscard]] HWND Handle() const { return hwnd_; }
  // Registers the class on first use; the window starts hidden.
  bool Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int width, int height,
              HWND owner);
  void Destroy();

 protected:
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Called once the handle is gone.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND hwnd_ = nullptr;
};

// The program's error box: the text with a full stop, the application title, one OK button.
void ShowErrorBox(const std::string& text);

}  // namespace wrenfold::win32
