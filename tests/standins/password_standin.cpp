// A stand-in for the 9x platform's PASSWORD.CPL, which does not exist under
// Wine: VerifyScreenSavePwd answers as the test says and records its calls.
// Built twice: LUMVIA_WITHOUT_VERIFIER leaves the verifier out, as in a
// library that lacks it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {
[[maybe_unused]] int Calls = 0;
HWND LastWindow = nullptr;
BOOL Answer = FALSE;
bool AnswerSet = false;

// Another process (the end-to-end tests) names a file holding the answer,
// read on every call, and a log file that every call appends to.
[[maybe_unused]] BOOL AnswerFromFile() {
  const char* path = std::getenv("LUMVIA_STANDIN_ANSWER_FILE");
  if (!path) return FALSE;
  FILE* f = std::fopen(path, "r");
  if (!f) return FALSE;
  int c = std::fgetc(f);
  std::fclose(f);
  return c == '1';
}

[[maybe_unused]] void Log(HWND window, BOOL answer) {
  const char* path = std::getenv("LUMVIA_STANDIN_LOG");
  if (!path) return;
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "VerifyScreenSavePwd %lu %d\n",
                 static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)), answer);
    std::fclose(f);
  }
}
}  // namespace

extern "C" {

#ifndef LUMVIA_WITHOUT_VERIFIER
__declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
  ++Calls;
  LastWindow = window;
  const BOOL answer = AnswerSet ? Answer : AnswerFromFile();
  Log(window, answer);
  return answer;
}
#endif

__declspec(dllexport) void WINAPI StandInSetAnswer(BOOL answer) {
  Answer = answer;
  AnswerSet = true;
}
__declspec(dllexport) int WINAPI StandInCalls() { return Calls; }
__declspec(dllexport) HWND WINAPI StandInLastWindow() { return LastWindow; }
}
