// The Linux program's window and frame loop: the saver drawn into an X
// window with the engine's settings, frame step and key actions.
#pragma once

#include "x11/options.h"

// Runs the saver as the options say until it is told to end (Esc or another
// key without an action, the window's close box, SIGTERM or SIGINT, the
// window destroyed by its owner); returns the exit code.
int RunSaver(const Options& options);
