// The About box (resource 100): the product, its version and the credits.
#pragma once

#include <windows.h>

#include <cstddef>

// Runs the About box modally over its owner.
void ShowAboutBox(HWND owner);

// The dialog procedure of dialog 100.
INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "Version 1.2.3" from the program's own version resource (a fourth part is
// added when it is not 0); false, and an empty text, when there is none.
bool FormatProgramVersion(char* text, size_t size);
