// The Linux program's two front ends, one per window system. main() picks
// one by the options; x11/ and wayland/ implement them, so they are declared
// here, below both, as the engine's seams are.
#pragma once

#include "linux_program/options.h"

// Each runs the saver as the options say until it is told to end, and
// returns the exit code.
int RunX11Saver(const Options& options);
int RunWaylandSaver(const Options& options);
