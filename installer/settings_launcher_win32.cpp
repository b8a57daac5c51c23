// lumvia-settings.exe, what the Start-menu shortcut "Lumvia Settings" runs.
// Windows opens an .scr through its file type, whose command adds /S and
// drops a shortcut's own arguments, so a shortcut to lumvia.scr itself would
// start the saver. This starts lumvia.scr from the system folder, where the
// package puts it, with an empty command tail (its settings, owned by no
// window) and leaves: CreateProcess runs a program whatever its file type.
#include <windows.h>

#include <cwchar>

namespace {

int Report(DWORD error) {
  wchar_t reason[512] = L"";
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 reason, sizeof reason / sizeof *reason, nullptr);
  wchar_t text[640];
  std::swprintf(text, sizeof text / sizeof *text, L"Lumvia could not be started.\n\n%ls", reason);
  MessageBoxW(nullptr, text, L"Lumvia Settings", MB_OK | MB_ICONEXCLAMATION);
  return 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t folder[MAX_PATH], saver[MAX_PATH + 16], line[MAX_PATH + 16];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return Report(GetLastError());
  std::swprintf(saver, sizeof saver / sizeof *saver, L"%ls\\lumvia.scr", folder);
  std::swprintf(line, sizeof line / sizeof *line, L"\"%ls\"", saver);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Started suspended, so that it may take the foreground, which the shell
  // gave this program, before it opens its dialog.
  if (!CreateProcessW(saver, line, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, &process))
    return Report(GetLastError());
  AllowSetForegroundWindow(process.dwProcessId);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}
