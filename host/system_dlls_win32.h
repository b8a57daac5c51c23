// The DLLs of lumvia.scr that are none of Windows' KnownDLLs (OPENGL32, GLU32,
// WINMM) come from the system folder only. A plain load looks in the program's
// own folder first, and lumvia.scr runs from wherever it was downloaded
// ("Install" on its menu leaves it there): a DLL of one of those names beside
// it would run as the user at every idle timeout. They are delay-loaded
// (host/CMakeLists.txt), and this loads them by their full path in the system
// folder, their own imports looked for there first too.
#pragma once

// Loads every delay-loaded DLL before anything else runs: the system's own
// DLLs load some of them by name (GDI32's pixel-format functions load
// OPENGL32), and a DLL already loaded is not looked for again. The
// delay-load helper, for its part, takes each from the system folder too.
void LoadSystemDlls();
