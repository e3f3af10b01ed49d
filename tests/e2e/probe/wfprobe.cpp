// wfprobe: reads window state for the end-to-end tests. Windows inside Wine's virtual desktop are
// not X windows, so the tests ask this program, run in the same desktop, what the window manager
// of Windows sees. Every answer is one JSON object per line on stdout, in UTF-8.
//
// Every command may be preceded by --desktop NAME: the Wine virtual desktop to look into.
//
//   wfprobe windows [--all]
//   wfprobe find --class C [--title T] [--title-contains T] [--pid P] [--timeout S]
//   wfprobe hittest HWND CODE
//   wfprobe foreground
//   wfprobe post|send HWND MSG WPARAM LPARAM
//   wfprobe wait-gone HWND [--timeout S]
//   wfprobe wait-visible HWND 0|1 [--timeout S]
//   wfprobe drive-type PATH
//   wfprobe define-drive LETTER TYPE UNIX_FOLDER
//
// Exit status: 0 done, 1 not found or timed out, 2 bad command line, 3 no such desktop.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoDesktop = 3;
constexpr double kDefaultTimeoutSeconds = 10.0;
constexpr DWORD kPollMilliseconds = 50;

// --- JSON output ------------------------------------------------------------------------------

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
  return out;
}

std::string Quoted(std::wstring_view text) {
  std::string out = "\"";
  for (const char c : Utf8(text)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// Builds one object, keys in the order added.
class JsonObject {
 public:
  JsonObject& Raw(std::string_view key, std::string_view json) {
    body_ += body_.empty() ? "{\"" : ",\"";
    body_.append(key).append("\":").append(json);
    return *this;
  }
  JsonObject& Int(std::string_view key, long long value) { return Raw(key, std::to_string(value)); }
  JsonObject& Bool(std::string_view key, bool value) { return Raw(key, value ? "true" : "false"); }
  JsonObject& Text(std::string_view key, std::wstring_view value) { return Raw(key, Quoted(value)); }
  void Print() const {
    const std::string line = (body_.empty() ? "{" : body_) + "}\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
  }

 private:
  std::string body_;
};

// --- windows ----------------------------------------------------------------------------------

long long HandleNumber(HWND window) { return static_cast<long long>(reinterpret_cast<std::uintptr_t>(window)); }

std::wstring ProcessImage(DWORD pid) {
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process, 0, path.data(), &size)) size = 0;
  ::CloseHandle(process);
  path.resize(size);
  return path;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[257] = {};
  const int length = ::GetClassNameW(window, name, 257);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring TitleOf(HWND window) {
  // GetWindowText(Length) would send a message and could hang on a stuck window; this only reads
  // what the window manager keeps. A full buffer may mean a longer title: grow and ask again.
  for (std::size_t capacity = 256;; capacity *= 4) {
    std::wstring title(capacity, L'\0');
    const int length = ::InternalGetWindowText(window, title.data(), static_cast<int>(capacity));
    if (length <= 0) return {};
    if (static_cast<std::size_t>(length) + 1 < capacity || capacity >= 65536) {
      title.resize(static_cast<std::size_t>(length));
      return title;
    }
  }
}

JsonObject Describe(HWND window) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  RECT rect{};
  ::GetWindowRect(window, &rect);
  char rectJson[96];
  std::snprintf(rectJson, sizeof rectJson, "[%ld,%ld,%ld,%ld]", rect.left, rect.top, rect.right, rect.bottom);
  JsonObject object;
  object.Int("hwnd", HandleNumber(window))
      .Int("pid", pid)
      .Text("exe", ProcessImage(pid))
      .Text("class", ClassOf(window))
      .Text("title", TitleOf(window))
      .Bool("visible", ::IsWindowVisible(window))
      .Bool("iconic", ::IsIconic(window))
      .Raw("rect", rectJson)
      .Int("owner", HandleNumber(::GetWindow(window, GW_OWNER)))
      .Int("style", static_cast<std::uint32_t>(::GetWindowLongPtrW(window, GWL_STYLE)))
      .Int("exstyle", static_cast<std::uint32_t>(::GetWindowLongPtrW(window, GWL_EXSTYLE)));
  return object;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  ::EnumWindows(
      [](HWND window, LPARAM found) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// --- command line -----------------------------------------------------------------------------

std::optional<long long> Number(const wchar_t* text) {
  if (!text || !*text) return std::nullopt;
  wchar_t* end = nullptr;
  const long long value = std::wcstoll(text, &end, 0);  // decimal, or hexadecimal after 0x
  if (*end) return std::nullopt;
  return value;
}

HWND WindowArg(const wchar_t* text) {
  const auto value = Number(text);
  return value ? reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*value)) : nullptr;
}

// Options after the positional arguments: --name value, or a lone --flag.
class Options {
 public:
  Options(int argc, wchar_t** argv, int first) {
    for (int i = first; i < argc; ++i) {
      const std::wstring_view arg = argv[i];
      if (arg.substr(0, 2) != L"--") {
        bad_ = true;
      } else if (arg == L"--all") {
        values_.emplace_back(arg, L"");
      } else if (i + 1 < argc) {
        values_.emplace_back(arg, argv[++i]);
      } else {
        bad_ = true;
      }
    }
  }
  [[nodiscard]] bool Bad() const { return bad_; }
  [[nodiscard]] const wchar_t* Get(std::wstring_view name) const {
    for (const auto& [key, value] : values_)
      if (key == name) return value.c_str();
    return nullptr;
  }
  [[nodiscard]] bool Has(std::wstring_view name) const { return Get(name) != nullptr; }
  [[nodiscard]] DWORD TimeoutMilliseconds() const {
    const wchar_t* text = Get(L"--timeout");
    const double seconds = text ? std::wcstod(text, nullptr) : kDefaultTimeoutSeconds;
    return seconds <= 0 ? 0 : static_cast<DWORD>(seconds * 1000);
  }

 private:
  std::vector<std::pair<std::wstring, std::wstring>> values_;
  bool bad_ = false;
};

// Polls until done() holds or the time is up; looks at least once.
template <typename Done>
bool PollUntil(DWORD timeoutMs, Done done) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(kPollMilliseconds);
  }
}

// --- commands ---------------------------------------------------------------------------------

int ListWindows(const Options& options) {
  const bool all = options.Has(L"--all");
  for (HWND window : TopLevelWindows())
    if (all || ::IsWindowVisible(window)) Describe(window).Print();
  return kExitOk;
}

// The child windows of a window (a message box's text and buttons, say), in z-order.
int ListChildren(HWND parent) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(child, text, 1024);
    RECT rect{};
    ::GetWindowRect(child, &rect);
    JsonObject()
        .Int("hwnd", HandleNumber(child))
        .Text("class", ClassOf(child))
        .Text("text", text)
        .Int("id", ::GetDlgCtrlID(child))
        .Bool("visible", ::IsWindowVisible(child) != FALSE)
        .Raw("rect", "[" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                         std::to_string(rect.right) + "," + std::to_string(rect.bottom) + "]")
        .Print();
  }
  return kExitOk;
}

int FindWindowCommand(const Options& options) {
  const wchar_t* className = options.Get(L"--class");
  if (!className) return kExitUsage;
  const wchar_t* title = options.Get(L"--title");
  const wchar_t* titlePart = options.Get(L"--title-contains");
  const auto pid = options.Has(L"--pid") ? Number(options.Get(L"--pid")) : std::nullopt;
  if (options.Has(L"--pid") && !pid) return kExitUsage;

  HWND found = nullptr;
  const bool ok = PollUntil(options.TimeoutMilliseconds(), [&] {
    for (HWND window : TopLevelWindows()) {
      // Class names are compared without regard to case, as Windows does.
      if (::CompareStringOrdinal(ClassOf(window).c_str(), -1, className, -1, TRUE) != CSTR_EQUAL) continue;
      if (title && TitleOf(window) != title) continue;
      if (titlePart && TitleOf(window).find(titlePart) == std::wstring::npos) continue;
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (pid && owner != static_cast<DWORD>(*pid)) continue;
      found = window;
      return true;
    }
    return false;
  });
  if (!ok) return kExitNotFound;
  Describe(found).Print();
  return kExitOk;
}

LRESULT HitTest(HWND window, int x, int y) {
  DWORD_PTR answer = HTNOWHERE;
  if (!::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 1000, &answer))
    return HTNOWHERE;
  return static_cast<LRESULT>(answer);
}

// The middle of the area around a point that answers the code: the tests click there, away from
// the edges where a pixel of difference between Wine's drawing and its hit test would matter.
int HitTestCommand(HWND window, LRESULT code) {
  RECT rect{};
  if (!::GetWindowRect(window, &rect)) return kExitNotFound;
  // Caption buttons and the caption itself sit in the top band; the band is generous so large
  // frames and themed captions are covered too.
  const int bandBottom = std::min<int>(rect.bottom, rect.top + 64);
  for (int y = rect.top + 1; y < bandBottom; y += 2) {
    for (int x = rect.right - 2; x > rect.left; x -= 2) {
      if (HitTest(window, x, y) != code) continue;
      int left = x, right = x, top = y, bottom = y;
      while (left > rect.left && HitTest(window, left - 1, y) == code) --left;
      while (right + 1 < rect.right && HitTest(window, right + 1, y) == code) ++right;
      const int midX = (left + right) / 2;
      while (top > rect.top && HitTest(window, midX, top - 1) == code) --top;
      while (bottom + 1 < rect.bottom && HitTest(window, midX, bottom + 1) == code) ++bottom;
      JsonObject().Int("x", midX).Int("y", (top + bottom) / 2).Print();
      return kExitOk;
    }
  }
  return kExitNotFound;
}

std::optional<UINT> MessageArg(const wchar_t* text) {
  static constexpr std::pair<std::wstring_view, UINT> kNames[] = {
      {L"WM_CLOSE", WM_CLOSE},
      {L"WM_QUERYENDSESSION", WM_QUERYENDSESSION},
      {L"WM_ENDSESSION", WM_ENDSESSION},
      {L"WM_SYSCOMMAND", WM_SYSCOMMAND},
  };
  for (const auto& [name, message] : kNames)
    if (name == text) return message;
  if (const auto value = Number(text)) return static_cast<UINT>(*value);
  return std::nullopt;
}

int MessageCommand(bool send, wchar_t** args) {
  HWND window = WindowArg(args[0]);
  const auto message = MessageArg(args[1]);
  const auto wParam = Number(args[2]);
  const auto lParam = Number(args[3]);
  if (!window || !message || !wParam || !lParam) return kExitUsage;
  if (!send) {
    const BOOL posted = ::PostMessageW(window, *message, static_cast<WPARAM>(*wParam), static_cast<LPARAM>(*lParam));
    JsonObject().Int("result", posted).Print();
    return posted ? kExitOk : kExitNotFound;
  }
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, *message, static_cast<WPARAM>(*wParam), static_cast<LPARAM>(*lParam),
                             SMTO_ABORTIFHUNG, 5000, &result)) {
    JsonObject().Raw("result", "null").Int("error", ::GetLastError()).Print();
    return kExitNotFound;
  }
  JsonObject().Int("result", static_cast<long long>(result)).Print();
  return kExitOk;
}

int DriveTypeCommand(const wchar_t* path) {
  std::string ansi(static_cast<std::size_t>(::WideCharToMultiByte(CP_ACP, 0, path, -1, nullptr, 0, nullptr, nullptr)),
                   '\0');
  ::WideCharToMultiByte(CP_ACP, 0, path, -1, ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr);
  JsonObject().Text("path", path).Int("type", ::GetDriveTypeA(ansi.c_str())).Print();
  return kExitOk;
}

bool JoinDesktop(const wchar_t* name) {
  const HDESK desktop = ::OpenDesktopW(name, 0, FALSE, GENERIC_ALL);
  if (!desktop || !::SetThreadDesktop(desktop)) {
    std::fprintf(stderr, "wfprobe: cannot join desktop %ls (error %lu)\n", name, ::GetLastError());
    return false;
  }
  return true;
}

// Wine's mount manager reads the drive types once, when the prefix starts; a drive added later
// only gets its type through the request Wine's own configuration tool sends. Wine-only: on
// Windows the request fails and the command says so.
struct WineUnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

int DefineDriveCommand(const wchar_t* letter, const wchar_t* typeText, const wchar_t* unixFolder) {
  const auto type = Number(typeText);
  if (std::wcslen(letter) != 1 || !type) return kExitUsage;
  const std::string folder = Utf8(unixFolder);
  std::string request(sizeof(WineUnixDrive) + folder.size() + 1, '\0');
  WineUnixDrive drive{};
  drive.size = static_cast<ULONG>(request.size());
  drive.type = static_cast<ULONG>(*type);
  drive.letter = letter[0];
  drive.mountPointOffset = static_cast<USHORT>(sizeof(WineUnixDrive));
  std::copy_n(reinterpret_cast<const char*>(&drive), sizeof drive, request.data());
  std::copy(folder.begin(), folder.end(), request.data() + sizeof drive);

  const HANDLE manager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD error = ERROR_SUCCESS;
  if (manager == INVALID_HANDLE_VALUE) {
    error = ::GetLastError();
  } else {
    DWORD returned = 0;
    if (!::DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()), nullptr, 0,
                           &returned, nullptr))
      error = ::GetLastError();
    ::CloseHandle(manager);
  }
  JsonObject().Text("letter", letter).Int("type", *type).Int("error", error).Print();
  return error == ERROR_SUCCESS ? kExitOk : kExitNotFound;
}

int Usage() {
  std::fputs(
      "usage: wfprobe [--desktop NAME] windows [--all] | find --class C [--title T] [--title-contains T] [--pid P] [--timeout S]\n"
      "     | hittest HWND CODE | children HWND | foreground | post|send HWND MSG WPARAM LPARAM\n"
      "     | wait-gone HWND [--timeout S] | wait-visible HWND 0|1 [--timeout S] | drive-type PATH\n"
      "     | define-drive LETTER TYPE UNIX_FOLDER\n",
      stderr);
  return kExitUsage;
}

int Run(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring_view command = argv[1];
  const auto positional = [&](int count) { return argc >= 2 + count; };

  if (command == L"windows") {
    const Options options(argc, argv, 2);
    return options.Bad() ? Usage() : ListWindows(options);
  }
  if (command == L"find") {
    const Options options(argc, argv, 2);
    if (options.Bad()) return Usage();
    const int status = FindWindowCommand(options);
    return status == kExitUsage ? Usage() : status;
  }
  if (command == L"hittest" && argc == 4) {
    HWND window = WindowArg(argv[2]);
    const auto code = Number(argv[3]);
    if (!window || !code) return Usage();
    return HitTestCommand(window, static_cast<LRESULT>(*code));
  }
  if (command == L"children" && argc == 3) {
    HWND window = WindowArg(argv[2]);
    return window ? ListChildren(window) : Usage();
  }
  if (command == L"foreground" && argc == 2) {
    HWND window = ::GetForegroundWindow();
    (window ? Describe(window) : JsonObject().Int("hwnd", 0)).Print();
    return kExitOk;
  }
  if ((command == L"post" || command == L"send") && argc == 6) {
    const int status = MessageCommand(command == L"send", argv + 2);
    return status == kExitUsage ? Usage() : status;
  }
  if (command == L"wait-gone" && positional(1)) {
    HWND window = WindowArg(argv[2]);
    const Options options(argc, argv, 3);
    if (!window || options.Bad()) return Usage();
    return PollUntil(options.TimeoutMilliseconds(), [&] { return !::IsWindow(window); }) ? kExitOk : kExitNotFound;
  }
  if (command == L"wait-visible" && positional(2)) {
    HWND window = WindowArg(argv[2]);
    const std::wstring_view want = argv[3];
    const Options options(argc, argv, 4);
    if (!window || (want != L"0" && want != L"1") || options.Bad()) return Usage();
    const bool visible = want == L"1";
    return PollUntil(options.TimeoutMilliseconds(),
                     [&] { return ::IsWindow(window) && static_cast<bool>(::IsWindowVisible(window)) == visible; })
               ? kExitOk
               : kExitNotFound;
  }
  if (command == L"drive-type" && argc == 3) return DriveTypeCommand(argv[2]);
  if (command == L"define-drive" && argc == 5) {
    const int status = DefineDriveCommand(argv[2], argv[3], argv[4]);
    return status == kExitUsage ? Usage() : status;
  }
  return Usage();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Rectangles and hit-test points in real pixels, whatever the desktop's scale.
  ::SetProcessDPIAware();
  // Started from Linux, the probe would land on the default desktop and see none of the windows
  // under test; it joins theirs instead. Wine's "explorer /desktop" does not hand a program's
  // stdout back, so starting the probe that way is no option.
  if (argc >= 3 && std::wstring_view(argv[1]) == L"--desktop") {
    if (!JoinDesktop(argv[2])) return kExitNoDesktop;
    argv[2] = argv[0];
    return Run(argc - 2, argv + 2);
  }
  return Run(argc, argv);
}
