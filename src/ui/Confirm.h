#pragma once

#include <string>
#include <string_view>

namespace wrenfold {

enum class DialogResult { Yes, No };

// A yes/no question with a "Don't Show this message again" box, shown modally.
class IConfirmDialog {
 public:
  virtual ~IConfirmDialog() = default;
  virtual void SetQuestion(const std::u16string& question) = 0;
  virtual void SetDontShowAgain(bool checked) = 0;
  [[nodiscard]] virtual bool DontShowAgain() const = 0;
  [[nodiscard]] virtual DialogResult ShowModal() = 0;
};

inline constexpr std::u16string_view kCloseAllQuestion = u"Are you sure that you want to close all windows?";
inline constexpr std::u16string_view kCancelQuestion = u"Changes were made. Are you sure you want to cancel them?";

// Asks unless `flag` already says not to. False when the user answered No (nothing changes);
// otherwise the box's state becomes the flag and the caller goes on. A dialog is shared by its
// questions, so its box is cleared before every showing.
[[nodiscard]] bool AskDontShowAgain(IConfirmDialog& dialog, std::u16string_view question, bool& flag);

}  // namespace wrenfold
