// A stand-in for the 9x platform's MPR.DLL password change, which Wine does
// not provide: PwdChangePasswordA records what it was called with.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
int Calls = 0;
char LastProvider[64] = "";
HWND LastOwner = nullptr;
}  // namespace

extern "C" {

__declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD flags,
                                                       LPVOID data) {
  ++Calls;
  std::snprintf(LastProvider, sizeof LastProvider, "%s", provider ? provider : "(none)");
  LastOwner = owner;
  if (const char* path = std::getenv("LUMVIA_STANDIN_LOG")) {
    if (FILE* f = std::fopen(path, "a")) {
      std::fprintf(f, "PwdChangePasswordA %s %lu %lu %p\n", LastProvider,
                   static_cast<unsigned long>(reinterpret_cast<uintptr_t>(owner)),
                   static_cast<unsigned long>(flags), data);
      std::fclose(f);
    }
  }
  return 0;
}

__declspec(dllexport) int WINAPI StandInCalls() { return Calls; }
__declspec(dllexport) const char* WINAPI StandInLastProvider() { return LastProvider; }
__declspec(dllexport) HWND WINAPI StandInLastOwner() { return LastOwner; }
}
