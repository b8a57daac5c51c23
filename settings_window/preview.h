// The live preview of lumvia-settings: the engine's frame step drawn off
// screen in the headless EGL context at the preview's size in pixels, paced
// as the saver is, each frame shown as a texture. While it has the focus the
// saver's keys steer it.
#pragma once

#include <gtk/gtk.h>

// The preview's widget, for the window it steers (the keys' window). Its
// frames run while it is on screen: GTK ticks no hidden widget, so the scene
// stands still meanwhile.
GtkWidget* MakePreview(GtkWindow* window);

// Releases the GL context, once the window goes.
void ClosePreview();
