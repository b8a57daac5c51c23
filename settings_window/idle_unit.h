// The user unit of `lumvia -daemon`, lumvia.service, as systemd's user
// manager on the session bus has it: whether it is enabled, and turning it
// on (enabled and started) and off (stopped and disabled).
#pragma once

#include <string>

enum class IdleUnit {
  Missing,  // no user manager answers, or it has no such unit
  Off,
  On,  // enabled
};

IdleUnit ReadIdleUnit();

// False, with the reason in *why, when the manager refused or did not answer.
bool TurnIdleUnit(bool on, std::string* why);
