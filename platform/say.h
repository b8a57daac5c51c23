// A line for the user on standard error, in the native programs: after the
// program's name, as every line begins in a log that many programs share.
#pragma once

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
