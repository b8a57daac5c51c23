// Any command line (up to its first NUL): the tail lies inside it and starts
// at no separator, the run mode's argument lies inside the tail and starts at
// no blank, and reading the window number stays inside the text.
#include <cstring>
#include <string>

#include "host/command_tail.h"
#include "tests/fuzz/fuzz_seams.h"

using fuzz_seams::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size copy with its terminator, so that a read past it is caught.
  const std::string line(reinterpret_cast<const char*>(data), size);
  const char* const begin = line.c_str();
  const char* const end = begin + std::strlen(begin);

  const char* tail = CommandTail(begin);
  Require(tail >= begin && tail <= end);
  Require(*tail == '\0' || static_cast<unsigned char>(*tail) > ' ');

  const RunModeSwitch request = ReadRunModeSwitch(tail);
  Require(request.argument >= tail && request.argument <= end);
  if (request.mode == RunModeRequest::Preview || request.mode == RunModeRequest::PasswordChange) {
    Require(request.argument > tail && *request.argument != ' ');
    ParseWindowNumber(request.argument);
  }
  if (request.mode == RunModeRequest::Settings) Require(*request.argument == '\0');
  return 0;
}
