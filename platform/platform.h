// The seams between the portable engine and the platform it runs on. Each
// target links exactly one implementation of every function declared here:
// Win32 on Windows, native ones for the Linux tools, recording ones in tests.
#pragma once

#include <cstddef>
#include <cstdint>

// A window as the engine sees it: an HWND on Windows, opaque everywhere.
using WindowHandle = void*;

// --- Clock: a millisecond count and a sleep ---------------------------------
// The count advances by 1 ms and wraps at 2^32, like the system tick count.
uint32_t TickCount();
void SleepMilliseconds(uint32_t ms);
// While frames are drawn, the system is asked for a 1 ms timer, so that a sleep
// ends within about a millisecond of its time; every request has its release.
void RequestMillisecondTimer();
void ReleaseMillisecondTimer();

// --- Message boxes ----------------------------------------------------------
// The flags are the Win32 MessageBox type bits.
constexpr unsigned kMbOk = 0x00;
constexpr unsigned kMbIconExclamation = 0x30;
constexpr unsigned kMbIconInformation = 0x40;
constexpr unsigned kMbIconMask = 0xF0;
void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned flags);

// --- Embedded resources -----------------------------------------------------
// Finds the resource of the running program with a numeric id and a type name
// (matched without regard to case). Returns false when it is missing; the
// bytes belong to the program image and are never freed.
bool FindResourceBytes(uint16_t id, const char* type, const uint8_t** data, size_t* size);

// --- Windows above the engine -------------------------------------------------
// The engine calls these; the program's dialogs implement them (the settings
// dialog and the control menu on Windows, recorders in native tests).

// Checks the module button of the module (none for 0) and clears the others.
void CheckModuleRadio(WindowHandle dialog, int module);
// Runs the control menu modally; does nothing while one is already open.
void ShowControlMenu(WindowHandle owner);
