// Reading the command line that starts the saver.
//
// The program name and the separators are stepped over byte by byte. The
// system's double-byte code pages never use a control character, a blank or
// a double quote as the second byte of a character (their trail bytes start
// at 0x31), so every stop falls where stepping by characters would stop.
#include "host/command_tail.h"

namespace {

const char* SkipBlanks(const char* text) {
  while (*text == ' ') ++text;
  return text;
}

}  // namespace

const char* CommandTail(const char* line) {
  const char* c = line;
  if (*c == '"') {
    do ++c;
    while (*c && *c != '"');
    if (*c == '"') ++c;
  } else {
    // Every byte above a blank belongs to the name, 0x80 to 0xFF included.
    while (static_cast<unsigned>(static_cast<signed char>(*c)) > ' ') ++c;
  }
  // Only control characters and blanks separate; bytes from 0x80 stop the skip.
  while (*c && static_cast<unsigned char>(*c) <= ' ') ++c;
  return c;
}

RunModeSwitch ReadRunModeSwitch(const char* tail) {
  for (const char* c = tail;; ++c) {
    switch (*c) {
      case '\0':
        return {RunModeRequest::Settings, c};
      case ' ':
      case '-':
      case '/':
        break;
      case 'S':
      case 's':
        return {RunModeRequest::Saver, c};
      case 'C':
      case 'c':
        return {RunModeRequest::OwnedSettings, c};
      case 'P':
      case 'p':
      case 'L':
      case 'l':
        return {RunModeRequest::Preview, SkipBlanks(c + 1)};
      case 'A':
      case 'a':
        return {RunModeRequest::PasswordChange, SkipBlanks(c + 1)};
      default:
        return {RunModeRequest::Unknown, c};
    }
  }
}

uint32_t ParseWindowNumber(const char* text) {
  uint32_t value = 0;
  for (const char* c = text; *c >= '0' && *c <= '9'; ++c)
    value = value * 10u + static_cast<uint32_t>(*c - '0');
  return value;
}
