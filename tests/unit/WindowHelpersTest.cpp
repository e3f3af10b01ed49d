#include <gtest/gtest.h>

#include "support/FakeDesktop.h"
#include "support/FakeText.h"
#include "trayer/WindowHelpers.h"

namespace wrenfold {
namespace {

using fake::FakeWindow;

class WindowHelpersTest : public ::testing::Test {
 protected:
  fake::FakeDesktop desktop;
  fake::FakeTextServices text;
};

TEST_F(WindowHelpersTest, TopLevelOwnerFollowsTheOwnerChain) {
  const auto main = desktop.Add({});
  const auto dialog = desktop.Add({.owner = main});
  const auto tool = desktop.Add({.exStyle = style::ToolWindow});
  const auto appTool = desktop.Add({.exStyle = style::ToolWindow | style::AppWindow});
  const auto ownedByDesktop = desktop.Add({.owner = fake::FakeDesktop::kDesktop});
  const auto hidden = desktop.Add({.visible = false});
  const auto hiddenOwner = desktop.Add({.owner = main, .visible = false});
  const auto deep = desktop.Add({.owner = hiddenOwner});
  const auto orphan = desktop.Add({.owner = hidden});
  const auto child = desktop.Add({.style = style::Child | style::Visible, .owner = dialog});

  struct Case {
    const char* what;
    WindowId window;
    WindowId expected;
  };
  const Case cases[] = {
      {"plain main window", main, main},
      {"dialog of a main window", dialog, main},
      {"unowned tool window", tool, {}},
      {"tool window asking for a task-bar button", appTool, appTool},
      {"owned by the desktop window", ownedByDesktop, ownedByDesktop},
      {"hidden unowned window", hidden, {}},
      {"through a hidden owner", deep, main},
      {"chain ends hidden", orphan, {}},
      {"child window: its parent's chain", child, main},
      {"null", {}, {}},
      {"no longer a window", WindowId{0x999}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(TopLevelOwner(desktop, c.window), c.expected) << c.what;
}

TEST_F(WindowHelpersTest, ShellWindowsByNameAndTitle) {
  const auto explorer = "C:\\Windows\\Explorer.EXE";
  struct Case {
    const char* what;
    FakeWindow window;
    bool shell;
  };
  const Case cases[] = {
      {"explorer's desktop", {.title = u"Program Manager", .exePath = explorer}, true},
      {"explorer's Start", {.title = u"Start", .exePath = explorer}, true},
      {"another program's Start", {.title = u"Start", .exePath = "C:\\x\\menu.exe"}, true},
      {"letter case of the title counts", {.title = u"program manager", .exePath = explorer}, false},
      {"explorer's folder window", {.title = u"Documents", .exePath = explorer}, false},
      {"Program Manager of another program", {.title = u"Program Manager", .exePath = "C:\\pm.exe"}, false},
      {"no executable", {.title = u"Start"}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsShellWindow(desktop, text, desktop.Add(c.window)), c.shell) << c.what;
  EXPECT_TRUE(IsShellWindow(desktop, text, fake::FakeDesktop::kDesktop));
  EXPECT_FALSE(IsShellWindow(desktop, text, WindowId{0x999}));
}

TEST_F(WindowHelpersTest, OwnWindowsByExecutableWithoutRegardToCase) {
  const std::string own = "C:\\Program Files\\Wrenfold\\wrenfold.exe";
  EXPECT_TRUE(IsOwnWindow(desktop, text, desktop.Add({.exePath = own}), own));
  EXPECT_TRUE(IsOwnWindow(desktop, text, desktop.Add({.exePath = "c:\\PROGRAM FILES\\wrenfold\\WRENFOLD.EXE"}), own));
  EXPECT_FALSE(IsOwnWindow(desktop, text, desktop.Add({.exePath = "D:\\Other\\wrenfold.exe"}), own));
  EXPECT_FALSE(IsOwnWindow(desktop, text, desktop.Add({}), own));
  EXPECT_FALSE(IsOwnWindow(desktop, text, WindowId{0x999}, own));
  EXPECT_FALSE(IsOwnExecutable(text, "", ""));
}

TEST_F(WindowHelpersTest, GoneWindowsGiveEmptyAnswers) {
  EXPECT_EQ(ReadWindowTitle(desktop, WindowId{0x999}), u"");
  EXPECT_EQ(ExePathOfWindow(desktop, WindowId{0x999}), "");
  EXPECT_FALSE(IsTopAppWindow(desktop, WindowId{0x999}));
}

TEST_F(WindowHelpersTest, BareFileNames) {
  struct Case {
    std::u16string name;
    bool bare;
  };
  const Case cases[] = {
      {u"notepad.exe", true},   {u"a*b?.exe", true},    {u"dir/x.exe", true},
      {u"", false},             {u"C:\\x.exe", false},  {u"C:x.exe", false},
      {u"x|y.exe", false},      {u"[x].exe", false},    {u"\"x\".exe", false},
      {u"<x>.exe", false},      {u"\u00e9t\u00e9.exe", true},  // in the code page
      {u"\u4e2d.exe", false},   // lost in the code page
  };
  for (const auto& c : cases) EXPECT_EQ(IsBareFileName(text, c.name), c.bare) << text.WideToAnsi(c.name);
  EXPECT_TRUE(HasValidFileChars("a.exe"));
  EXPECT_FALSE(HasValidFileChars(""));
}

}  // namespace
}  // namespace wrenfold
