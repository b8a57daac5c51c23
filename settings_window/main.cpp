// lumvia-settings: the settings window of the Linux program, for GNOME, KDE
// and the other desktops, on Wayland and X11 alike.
#include <gtk/gtk.h>

#include "settings_window/settings_window.h"

int main(int argc, char** argv) {
  // No application id: two windows may be open at once (the last OK wins,
  // value by value, as with the saver), and no session bus is needed. The
  // program's name is the id a desktop matches with lumvia-settings.desktop.
  GtkApplication* application = gtk_application_new(nullptr, G_APPLICATION_DEFAULT_FLAGS);
  g_signal_connect(application, "activate", G_CALLBACK(OpenSettingsWindow), nullptr);
  const int status = g_application_run(G_APPLICATION(application), argc, argv);
  g_object_unref(application);
  return status;
}
