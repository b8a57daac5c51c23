// Password verification and change on the Windows 9x platform, through the
// system's own components loaded by name at run time. Off that platform
// nothing here acts.
#pragma once

#include <windows.h>

#include <cstdint>

// The private message by which a close runs the verifier inside the saver
// window's own procedure chain.
constexpr UINT PasswordCheckRequest = WM_APP;

// Tells the system whether a screen saver runs (9x platform only).
void SetSaverRunning(bool on);
// Loads PASSWORD.CPL's verifier when the user's desktop asks for a password.
void LoadPasswordVerifier();
// Frees it again; switches the running state off exactly when it was on.
void UnloadPasswordVerifier();
// True when the saver may close: no password in use, or the verifier agreed.
bool ConfirmClose(HWND window);
// The answer to PasswordCheckRequest: the verifier's result, or 1 without one.
LRESULT AnswerPasswordCheck(HWND window);
// Milliseconds from earlier to later on the wrapping 32-bit tick counter.
uint32_t TickElapsed(uint32_t earlier, uint32_t later);
// Lets the user change the screen-saver password, owned by the window.
void ChangeSaverPassword(HWND owner);
