// The modal boxes of lumvia-settings over its window: the message boxes of
// the engine (failures, the parameter display) and the control menu.
#pragma once

#include <gtk/gtk.h>

// Whether one is open: the preview draws no frame meanwhile, as the Windows
// dialog's frame loop waits for its modal boxes.
bool BoxOpen();
