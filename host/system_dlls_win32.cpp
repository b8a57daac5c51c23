// See system_dlls_win32.h. Linked into lumvia.scr alone: the test programs
// import the same DLLs in the usual way.
#include "host/system_dlls_win32.h"

#include <windows.h>

#include <delayimp.h>

#include <cstdio>

extern "C" IMAGE_DOS_HEADER __ImageBase;
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* entry);

// The delay-import descriptor of each delay-loaded DLL, under the name its
// library gives it (host/CMakeLists.txt).
#define X(dll) \
  extern "C" const ImgDelayDescr dll##Imports __asm__("__DELAY_IMPORT_DESCRIPTOR_" #dll "_delay_a");
LUMVIA_DELAY_LOADED_DLLS
#undef X

namespace {

#define X(dll) &dll##Imports,
constexpr const ImgDelayDescr* kDelayLoaded[] = {LUMVIA_DELAY_LOADED_DLLS};
#undef X

// The DLL of that name in the system folder. The altered search path looks
// for its own imports in its folder first, where the program's folder would
// come first otherwise.
HMODULE LoadFromSystemFolder(const char* dll) {
  char folder[MAX_PATH], path[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return nullptr;
  const int written = std::snprintf(path, sizeof path, "%s\\%s", folder, dll);
  if (written < 0 || written >= static_cast<int>(sizeof path)) return nullptr;
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The delay-load helper asks before each DLL it loads, and uses the module
// given here.
FARPROC WINAPI DelayLoadNotice(unsigned notice, PDelayLoadInfo info) {
  if (notice != dliNotePreLoadLibrary) return nullptr;
  return reinterpret_cast<FARPROC>(LoadFromSystemFolder(info->szDll));
}

template <typename T>
T* AtRva(DWORD rva) {
  return reinterpret_cast<T*>(reinterpret_cast<char*>(&__ImageBase) + rva);
}

}  // namespace

// Declared with C linkage by <delayimp.h>; this definition replaces the
// library's empty one.
PfnDliHook __pfnDliNotifyHook2 = DelayLoadNotice;

// Every function is bound here, through the helper, before its first call:
// the x86_64 stubs of this linker's delay imports keep the integer argument
// registers for the helper's call but not the floating-point ones, so a
// first call through a stub would lose its float arguments (the projection's
// gluPerspective among them).
void LoadSystemDlls() {
  for (const ImgDelayDescr* imports : kDelayLoaded) {
    auto* entries = AtRva<FARPROC>(imports->rvaIAT);
    const auto* names = AtRva<const IMAGE_THUNK_DATA>(imports->rvaINT);
    for (size_t i = 0; names[i].u1.AddressOfData; ++i) __delayLoadHelper2(imports, &entries[i]);
  }
}
