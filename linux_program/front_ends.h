// The Linux program's two front ends, one per window system, and the daemon
// that starts the Wayland one when the desktop is idle. main() picks one by
// the options; x11/, wayland/ and daemon/ implement them, so they are
// declared here, below them, as the engine's seams are.
#pragma once

#include "linux_program/options.h"

// Each runs the saver as the options say until it is told to end, and
// returns the exit code.
int RunX11Saver(const Options& options);
int RunWaylandSaver(const Options& options);
// Runs until SIGTERM or SIGINT (or the desktop's end), starting the program
// again with -wayland and `saverArguments` (SaverArguments) each time the
// user has been idle, and returns the exit code.
int RunIdleDaemon(const Options& options, const std::vector<std::string>& saverArguments);
