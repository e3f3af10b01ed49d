#pragma once

// Resource ids shared by wrenfold.rc and the C++ code. The resource compiler only understands
// the preprocessor, hence the macro; C++ uses the constant below it.
#define WF_IDI_APPLICATION 1

#ifndef RC_INVOKED
namespace wrenfold::win32 {

// The application icon: the program's own and the one its tray icon shows.
inline constexpr int kAppIconId = WF_IDI_APPLICATION;

}  // namespace wrenfold::win32
#endif
