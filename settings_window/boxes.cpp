// The engine's message-box and control-menu seams as GTK message dialogs. A
// failure is also written to standard error, where the other Linux programs
// write theirs.
#include "settings_window/boxes.h"

#include <cctype>
#include <cstdio>
#include <string>

#include "controls/view_keys.h"
#include "platform/platform.h"
#include "settings_window/settings_window.h"

namespace {

int OpenBoxes = 0;
bool ControlMenuOpen = false;

// The parameter display and the control menu line their columns up with
// blanks, so they are shown in a fixed-width font.
void ShowBox(WindowHandle owner, const char* title, std::string text, bool failure,
             bool* open = nullptr) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  while (!text.empty() && text.back() == '\n') text.pop_back();
  GtkWindow* parent = owner ? static_cast<GtkWindow*>(owner) : SettingsWindow();
  char* markup = g_markup_printf_escaped(failure ? "%s" : "<tt>%s</tt>", text.c_str());
  GtkWidget* box = gtk_message_dialog_new_with_markup(
      parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      failure ? GTK_MESSAGE_ERROR : GTK_MESSAGE_INFO, GTK_BUTTONS_OK, "%s", markup);
  g_free(markup);
  gtk_window_set_title(GTK_WINDOW(box), title);
  ++OpenBoxes;
  if (open) *open = true;
  g_signal_connect(box, "response", G_CALLBACK(+[](GtkDialog* dialog, int, gpointer flag) {
                     --OpenBoxes;
                     if (flag) *static_cast<bool*>(flag) = false;
                     gtk_window_destroy(GTK_WINDOW(dialog));
                   }),
                   open);
  gtk_window_present(GTK_WINDOW(box));
}

}  // namespace

bool BoxOpen() { return OpenBoxes > 0; }

void ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned flags) {
  const bool failure = flags & kMbIconMask;
  if (failure) std::fprintf(stderr, "%s: %s\n", g_get_prgname(), text);
  ShowBox(owner, caption, text, failure);
}

void ShowControlMenu(WindowHandle owner) {
  if (ControlMenuOpen) return;
  ShowBox(owner, "Control Menu",
          ControlMenuText(MenuText::Keys) + "\n\n" + ControlMenuText(MenuText::Modules), false,
          &ControlMenuOpen);
}
