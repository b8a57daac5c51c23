// Where the executable starts: the command tail decides the run mode (the
// full-screen saver, the preview, the settings dialog or the password change)
// and the mode's result becomes the exit code.
#pragma once

#include <windows.h>

#include <cstdint>

#include "host/command_tail.h"

// Takes the command line, runs HostEntry on its tail and ends the process with
// the result. Never returns.
[[noreturn]] void HostStartup();

// Runs the mode the first switch letter names; returns the exit code.
int HostEntry(HINSTANCE instance, HINSTANCE previous, const char* tail, int show);

HWND WindowFromNumber(uint32_t number);

int RunPreview(const char* text);
int RunSettingsDialog(HWND parent);
bool PrepareDialogClasses(HINSTANCE instance);
int RunPasswordChange(const char* text);

// The exception guard around the run modes: an exception that nothing handles
// goes to the system's filter, the full-screen window hidden and the cursor
// let go first; when that filter handles it, the screen-saver running state
// is cleared and the process ends with -1.
void InstallExceptionGuard();
void RemoveExceptionGuard();
LONG WINAPI ExceptionGuardFilter(EXCEPTION_POINTERS* exception);
