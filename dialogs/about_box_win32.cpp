// The About box: the product name, the version from the program's own version
// resource (the one version number of the build) and the credits.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "dialogs/about_box_win32.h"
#include "platform/instance_win32.h"
#include "resources/resource.h"
#include "resources/settings_ids.h"

namespace {

// A version resource starts with its length, the length of its value and its
// type (three 16-bit words), then the key "VS_VERSION_INFO" in UTF-16 with its
// terminator; the fixed file information follows on a 32-bit boundary.
constexpr size_t kHeaderSize = 3 * sizeof(uint16_t) + std::size("VS_VERSION_INFO") * sizeof(uint16_t);
constexpr size_t kFixedInfoOffset = (kHeaderSize + 3) & ~size_t{3};
constexpr DWORD kFixedInfoSignature = 0xFEEF04BD;

bool FindFixedFileInfo(VS_FIXEDFILEINFO* info) {
  HRSRC found = FindResourceA(ProgramInstance(), MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16));
  if (!found) return false;
  HGLOBAL loaded = LoadResource(ProgramInstance(), found);
  const auto* data = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  DWORD size = SizeofResource(ProgramInstance(), found);
  if (!data || size < kFixedInfoOffset + sizeof *info) return false;
  uint16_t valueLength;
  std::memcpy(&valueLength, data + sizeof(uint16_t), sizeof valueLength);
  if (valueLength < sizeof *info) return false;
  std::memcpy(info, data + kFixedInfoOffset, sizeof *info);
  return info->dwSignature == kFixedInfoSignature;
}

}  // namespace

bool FormatProgramVersion(char* text, size_t size) {
  if (size == 0) return false;
  text[0] = '\0';
  VS_FIXEDFILEINFO info;
  if (!FindFixedFileInfo(&info)) return false;
  unsigned major = HIWORD(info.dwFileVersionMS), minor = LOWORD(info.dwFileVersionMS);
  unsigned patch = HIWORD(info.dwFileVersionLS), build = LOWORD(info.dwFileVersionLS);
  if (build)
    std::snprintf(text, size, "Version %u.%u.%u.%u", major, minor, patch, build);
  else
    std::snprintf(text, size, "Version %u.%u.%u", major, minor, patch);
  return true;
}

void ShowAboutBox(HWND owner) {
  DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutBoxProc, 0);
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  char version[64];
  switch (message) {
    case WM_INITDIALOG:
      FormatProgramVersion(version, sizeof version);
      SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, version);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 1);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return TRUE;
    default:
      return FALSE;
  }
}
