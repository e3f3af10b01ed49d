// Stand-ins for the hooks library that fail in the ways start-up must report. Which way is chosen
// when the file is built.
#include <windows.h>

extern "C" {

#if defined(WF_FAKE_REFUSES)
__declspec(dllexport) unsigned char __stdcall RegisterHooks(HMODULE) { return 0; }
#endif

__declspec(dllexport) void __stdcall UnregisterHooks() {}

}
