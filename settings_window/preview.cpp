// The preview: GTK's own GL contexts are core-profile ones, and the scenes
// draw with OpenGL 1.1 and GLU, so the frame step draws into the engine's
// headless context, whose picture is read back and handed to GTK.
#include "settings_window/preview.h"

#include <cstring>

#include "controls/view_keys.h"
#include "core/saver_state.h"
#include "frames/frame.h"
#include "linux_program/keys.h"
#include "render/gl.h"
#include "render/gl_context.h"
#include "render/headless_gl.h"
#include "settings_window/boxes.h"

namespace {

struct Preview {
  GtkPicture* picture = nullptr;
  GtkWindow* window = nullptr;
  int width = 0;  // the context's size in pixels; 0 before it is made
  int height = 0;
  bool failed = false;  // the context could not be made: the preview stays black
};
Preview View;

// GTK keeps its own context current between its drawings and does not look
// again before it draws: it is told that none is current, then the engine's
// is made current, and released after.
bool UseEngineContext() {
  gdk_gl_context_clear_current();
  return MakeHeadlessContextCurrent();
}

// The context at the picture's size in pixels, made anew when that changes.
bool FitContext() {
  const int scale = gtk_widget_get_scale_factor(GTK_WIDGET(View.picture));
  const int width = gtk_widget_get_width(GTK_WIDGET(View.picture)) * scale;
  const int height = gtk_widget_get_height(GTK_WIDGET(View.picture)) * scale;
  if (width <= 0 || height <= 0) return false;
  if (width == View.width && height == View.height) return UseEngineContext();
  gdk_gl_context_clear_current();
  DestroyGLContext();
  SetHeadlessSize(width, height);
  View.width = width;
  View.height = height;
  View.failed = !CreateGLContext(View.window, kColourBits);
  return !View.failed;
}

// The frame as RGB rows from the top, as GdkMemoryTexture takes them.
GdkTexture* ReadFrame() {
  const size_t row = static_cast<size_t>(View.width) * 3;
  const size_t size = row * static_cast<size_t>(View.height);
  auto* pixels = static_cast<uint8_t*>(g_malloc(size));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, View.width, View.height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  uint8_t* swap = static_cast<uint8_t*>(g_malloc(row));
  for (int top = 0, bottom = View.height - 1; top < bottom; ++top, --bottom) {
    std::memcpy(swap, pixels + top * row, row);
    std::memcpy(pixels + top * row, pixels + bottom * row, row);
    std::memcpy(pixels + bottom * row, swap, row);
  }
  g_free(swap);
  GBytes* bytes = g_bytes_new_take(pixels, size);
  GdkTexture* texture =
      gdk_memory_texture_new(View.width, View.height, GDK_MEMORY_R8G8B8, bytes, row);
  g_bytes_unref(bytes);
  return texture;
}

// Each tick of the frame clock (a refresh of the display) draws a frame once
// 30 ms have passed since the last one began: every second refresh at 60 Hz,
// as the saver's swap interval has it.
gboolean Tick(GtkWidget*, GdkFrameClock*, gpointer) {
  if (View.failed) return G_SOURCE_REMOVE;
  if (BoxOpen() || SaverState.Closing || TimeToNextFrame() > 0) return G_SOURCE_CONTINUE;
  if (FitContext()) {
    RenderFrame(View.window);
    GdkTexture* frame = ReadFrame();
    gtk_picture_set_paintable(View.picture, GDK_PAINTABLE(frame));
    g_object_unref(frame);
  }
  ReleaseHeadlessContext();
  return View.failed ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
}

// The keys with an action in the saver are taken; every other one (Tab,
// Space, the keys with Alt) goes on to the window, so that the focus can
// leave the preview and mnemonics work.
gboolean KeyPressed(GtkEventControllerKey*, guint keyval, guint, GdkModifierType state, gpointer) {
  const uintptr_t key = VirtualKeyOf(keyval);
  if (key == 0 || IsSystemKey(keyval, state & GDK_ALT_MASK)) return FALSE;
  PressViewKey(View.window, key);
  if (SaverState.Closing) gtk_window_close(View.window);  // Esc: as Cancel
  return TRUE;
}

}  // namespace

GtkWidget* MakePreview(GtkWindow* window) {
  View.window = window;
  GtkWidget* picture = gtk_picture_new();
  View.picture = GTK_PICTURE(picture);
  gtk_picture_set_can_shrink(View.picture, TRUE);
  gtk_picture_set_content_fit(View.picture, GTK_CONTENT_FIT_FILL);
  gtk_widget_set_size_request(picture, 320, 240);
  gtk_widget_set_hexpand(picture, TRUE);
  gtk_widget_set_vexpand(picture, TRUE);
  gtk_widget_add_css_class(picture, "lumvia-preview");
  gtk_widget_set_focusable(picture, TRUE);
  gtk_accessible_update_property(
      GTK_ACCESSIBLE(picture), GTK_ACCESSIBLE_PROPERTY_LABEL, "Preview of the current scene",
      GTK_ACCESSIBLE_PROPERTY_DESCRIPTION, "The saver's keys steer it; F1 lists them", -1);

  GtkEventController* keys = gtk_event_controller_key_new();
  g_signal_connect(keys, "key-pressed", G_CALLBACK(KeyPressed), nullptr);
  gtk_widget_add_controller(picture, keys);
  GtkGesture* click = gtk_gesture_click_new();
  g_signal_connect_swapped(click, "pressed", G_CALLBACK(gtk_widget_grab_focus), picture);
  gtk_widget_add_controller(picture, GTK_EVENT_CONTROLLER(click));

  StartSaverState(false, window, false);  // the preview never changes modules by time
  gtk_widget_add_tick_callback(picture, Tick, nullptr, nullptr);
  return picture;
}

void ClosePreview() {
  if (View.width == 0) return;
  UseEngineContext();
  DestroyGLContext();
  View.width = View.height = 0;
}
