// lumvia-settings' one window: which scenes the saver shows, how long each
// is shown, the other monitors and the start when idle, with a live preview.
// Every change lives in the engine's tables until OK saves them all.
#pragma once

#include <gtk/gtk.h>

// Loads the settings and shows the window; says in a box when the settings
// file cannot be read.
void OpenSettingsWindow(GtkApplication* application);

// The window, once it is made (the owner of boxes that name none).
GtkWindow* SettingsWindow();
