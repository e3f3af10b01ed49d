#include "ui/Confirm.h"

namespace wrenfold {

bool AskDontShowAgain(IConfirmDialog& dialog, std::u16string_view question, bool& flag) {
  if (flag) return true;
  dialog.SetQuestion(std::u16string(question));
  dialog.SetDontShowAgain(false);
  if (dialog.ShowModal() == DialogResult::No) return false;
  flag = dialog.DontShowAgain();
  return true;
}

}  // namespace wrenfold
