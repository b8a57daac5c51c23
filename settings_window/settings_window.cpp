// The settings window, in the manner of the Windows settings dialog: a check
// box per scene and the scene's name, which shows it in the preview (as the
// dialog's module buttons do), Enable All and Disable All, the cycle time,
// "Other monitors", and the start when idle. OK saves every value through
// the settings file's writer; Cancel, Esc and the close box write nothing.
#include "settings_window/settings_window.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "core/module_table.h"
#include "platform/platform.h"
#include "scenes/modules.h"
#include "settings/file_store.h"
#include "settings/store.h"
#include "settings_window/idle_unit.h"
#include "settings_window/preview.h"

namespace {

struct Controls {
  GtkWindow* window = nullptr;
  GtkWidget* preview = nullptr;
  GtkCheckButton* enabled[kModuleSlots] = {};
  GtkToggleButton* names[kModuleSlots] = {};
  GtkSpinButton* cycleTime = nullptr;
  GtkSpinButton* idleMinutes = nullptr;
  GtkSwitch* idleSwitch = nullptr;  // none where the unit is not installed
  bool idleUnitOn = false;          // the unit as the window found it
  bool checkingName = false;        // the frame step checks a name: no module is chosen
};
Controls Ui;

void Fail(const std::string& text) {
  ShowMessageBox(Ui.window, text.c_str(), "ERROR", kMbOk | kMbIconExclamation);
}

// --- What each control changes -----------------------------------------------------

void EnabledToggled(GtkCheckButton* box, gpointer module) {
  ModuleTable[GPOINTER_TO_INT(module)].active = gtk_check_button_get_active(box);
}

// A click on a scene's name shows that scene from its own start.
void NameToggled(GtkToggleButton* name, gpointer module) {
  if (Ui.checkingName || !gtk_toggle_button_get_active(name)) return;
  StoreModuleParams(CurrentModule);
  CurrentModule = GPOINTER_TO_INT(module);
  LoadModuleParams(CurrentModule);
}

void SetAllEnabled(bool active) {
  for (int module = 1; module <= kModuleCount; ++module)
    gtk_check_button_set_active(Ui.enabled[module], active);
}

// The spin buttons change their setting only when the user changes them: a
// stored number outside their range (a cycle time of 0, say) stays as it is.
void SettingChanged(GtkSpinButton* spin, gpointer setting) {
  *static_cast<int32_t*>(setting) = gtk_spin_button_get_value_as_int(spin);
}

void MonitorsChosen(GtkDropDown* list, GParamSpec*, gpointer) {
  OtherMonitors = static_cast<int32_t>(gtk_drop_down_get_selected(list));
}

void Save() {
  gtk_spin_button_update(Ui.cycleTime);  // a number typed and not yet taken
  gtk_spin_button_update(Ui.idleMinutes);
  StoreModuleParams(CurrentModule);
  if (std::string why; !SaveSettings(&why)) {
    Fail(std::string(kSettingsNotSaved) + ": " + why);
    return;
  }
  const bool on = Ui.idleSwitch && gtk_switch_get_active(Ui.idleSwitch);
  if (std::string why; Ui.idleSwitch && on != Ui.idleUnitOn && !TurnIdleUnit(on, &why)) {
    Fail(std::string("lumvia.service was not turned ") + (on ? "on: " : "off: ") + why);
    return;
  }
  gtk_window_destroy(Ui.window);
}

// --- The controls -------------------------------------------------------------------

GtkWidget* Label(const char* text, GtkWidget* mnemonicFor = nullptr) {
  GtkWidget* label = mnemonicFor ? gtk_label_new_with_mnemonic(text) : gtk_label_new(text);
  if (mnemonicFor) gtk_label_set_mnemonic_widget(GTK_LABEL(label), mnemonicFor);
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  return label;
}

GtkWidget* Row(std::initializer_list<GtkWidget*> children) {
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  for (GtkWidget* child : children) gtk_box_append(GTK_BOX(row), child);
  return row;
}

GtkWidget* Button(const char* text, GCallback clicked, gpointer data = nullptr) {
  GtkWidget* button = gtk_button_new_with_mnemonic(text);
  g_signal_connect_swapped(button, "clicked", clicked, data);
  return button;
}

// A spin button over the numbers the setting's row offers.
GtkSpinButton* Spin(int32_t* setting) {
  const StoredValue* value =
      std::find_if(std::begin(kStoredValues), std::end(kStoredValues),
                   [&](const StoredValue& v) { return v.setting == setting; });
  GtkWidget* spin = gtk_spin_button_new_with_range(value->leastChoice, value->mostChoice, 1);
  gtk_spin_button_set_value(GTK_SPIN_BUTTON(spin), *setting);
  g_signal_connect(spin, "value-changed", G_CALLBACK(SettingChanged), setting);
  return GTK_SPIN_BUTTON(spin);
}

// One row a scene: its check box, then its name.
GtkWidget* Scenes() {
  GtkWidget* list = gtk_box_new(GTK_ORIENTATION_VERTICAL, 2);
  GtkWidget* heading = Label("Scenes");
  gtk_widget_add_css_class(heading, "heading");
  gtk_box_append(GTK_BOX(list), heading);
  GtkToggleButton* group = nullptr;
  for (int module = 1; module <= kModuleCount; ++module) {
    const std::string name = Modules[module].name;
    GtkWidget* box = gtk_check_button_new();
    gtk_check_button_set_active(GTK_CHECK_BUTTON(box), ModuleTable[module].active);
    gtk_accessible_update_property(GTK_ACCESSIBLE(box), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                   ("Enable " + name).c_str(), -1);
    gtk_widget_set_tooltip_text(box, ("Show " + name + " when the saver runs").c_str());
    g_signal_connect(box, "toggled", G_CALLBACK(EnabledToggled), GINT_TO_POINTER(module));
    GtkWidget* button = gtk_toggle_button_new_with_label(name.c_str());
    gtk_widget_add_css_class(button, "flat");
    gtk_widget_set_hexpand(button, TRUE);
    gtk_widget_set_tooltip_text(button, ("Show " + name + " in the preview").c_str());
    gtk_toggle_button_set_group(GTK_TOGGLE_BUTTON(button), group);
    group = GTK_TOGGLE_BUTTON(button);
    g_signal_connect(button, "toggled", G_CALLBACK(NameToggled), GINT_TO_POINTER(module));
    Ui.enabled[module] = GTK_CHECK_BUTTON(box);
    Ui.names[module] = GTK_TOGGLE_BUTTON(button);
    gtk_box_append(GTK_BOX(list), Row({box, button}));
  }
  gtk_box_append(GTK_BOX(list),
                 Row({Button("Enable _All", G_CALLBACK(+[] { SetAllEnabled(true); })),
                      Button("_Disable All", G_CALLBACK(+[] { SetAllEnabled(false); }))}));
  return list;
}

GtkWidget* OtherMonitorsList() {
  const char* texts[kOtherMonitorsChoiceCount + 1] = {};  // ends with a null
  std::copy(std::begin(kOtherMonitorsTexts), std::end(kOtherMonitorsTexts), texts);
  GtkWidget* list = gtk_drop_down_new_from_strings(texts);
  gtk_drop_down_set_selected(GTK_DROP_DOWN(list), static_cast<guint>(OtherMonitors));
  g_signal_connect(list, "notify::selected", G_CALLBACK(MonitorsChosen), nullptr);
  return list;
}

// "Start when idle after N minutes": the minutes the daemon waits, and the
// switch of the user unit that runs it, where that unit is installed. The
// label's key (Alt+I) reaches the switch where there is one.
GtkWidget* IdleStart() {
  Ui.idleMinutes = Spin(&IdleMinutes);
  gtk_accessible_update_property(GTK_ACCESSIBLE(Ui.idleMinutes), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                 "Minutes idle before the saver starts", -1);
  GtkWidget* label = Label("Start when _idle after", GTK_WIDGET(Ui.idleMinutes));
  GtkWidget* row = Row({label, GTK_WIDGET(Ui.idleMinutes), Label("minutes")});
  const IdleUnit unit = ReadIdleUnit();
  if (unit == IdleUnit::Missing) return row;
  Ui.idleUnitOn = unit == IdleUnit::On;
  GtkWidget* toggle = gtk_switch_new();
  Ui.idleSwitch = GTK_SWITCH(toggle);
  gtk_switch_set_active(Ui.idleSwitch, Ui.idleUnitOn);
  gtk_widget_set_valign(toggle, GTK_ALIGN_CENTER);
  gtk_accessible_update_property(GTK_ACCESSIBLE(toggle), GTK_ACCESSIBLE_PROPERTY_LABEL,
                                 "Start when idle", -1);
  gtk_label_set_mnemonic_widget(GTK_LABEL(label), toggle);
  gtk_box_prepend(GTK_BOX(row), toggle);
  return row;
}

// The saver's own settings.
GtkWidget* Choices() {
  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  Ui.cycleTime = Spin(&CycleTime);
  gtk_box_append(GTK_BOX(column), Row({Label("Show each scene _for", GTK_WIDGET(Ui.cycleTime)),
                                       GTK_WIDGET(Ui.cycleTime), Label("seconds")}));
  GtkWidget* monitors = OtherMonitorsList();
  gtk_box_append(GTK_BOX(column), Row({Label("Other _monitors", monitors), monitors}));
  gtk_box_append(GTK_BOX(column), IdleStart());
  return column;
}

GtkWidget* PreviewColumn() {
  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
  // The shape of a monitor, whatever the window's.
  GtkWidget* frame = gtk_aspect_frame_new(0.5f, 0.0f, 4.0f / 3.0f, FALSE);
  Ui.preview = MakePreview(Ui.window);
  gtk_aspect_frame_set_child(GTK_ASPECT_FRAME(frame), Ui.preview);
  gtk_box_append(GTK_BOX(column), frame);
  GtkWidget* hint = Label("Click the preview to steer it with the saver's keys; F1 lists them.");
  gtk_label_set_wrap(GTK_LABEL(hint), TRUE);
  gtk_widget_add_css_class(hint, "dim-label");
  gtk_box_append(GTK_BOX(column), hint);
  gtk_box_append(GTK_BOX(column), Choices());
  return column;
}

// Cancel on the left, OK on the right and the default, as GNOME has them.
GtkWidget* Buttons() {
  GtkWidget* ok = Button("_OK", G_CALLBACK(Save));
  gtk_widget_add_css_class(ok, "suggested-action");
  gtk_window_set_default_widget(Ui.window, ok);
  GtkWidget* row = Row({Button("_Cancel", G_CALLBACK(gtk_window_close), Ui.window), ok});
  gtk_widget_set_halign(row, GTK_ALIGN_END);
  return row;
}

void AddStyle() {
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(
      css,
      ".lumvia-preview { background: black; }"
      ".lumvia-preview:focus-visible { outline: 2px solid @theme_selected_bg_color;"
      " outline-offset: -2px; }",
      -1);
  gtk_style_context_add_provider_for_display(gdk_display_get_default(), GTK_STYLE_PROVIDER(css),
                                             GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
}

// Esc anywhere in the window is Cancel, as in any dialog.
void CloseOnEscape() {
  GtkEventController* keys = gtk_shortcut_controller_new();
  gtk_shortcut_controller_add_shortcut(
      GTK_SHORTCUT_CONTROLLER(keys),
      gtk_shortcut_new(gtk_keyval_trigger_new(GDK_KEY_Escape, GdkModifierType(0)),
                       gtk_named_action_new("window.close")));
  gtk_widget_add_controller(GTK_WIDGET(Ui.window), keys);
}

}  // namespace

void CheckModuleRadio(WindowHandle, int module) {
  Ui.checkingName = true;
  for (int m = 1; m <= kModuleCount; ++m)
    if (m != module) gtk_toggle_button_set_active(Ui.names[m], FALSE);
  if (IsModuleNumber(module)) gtk_toggle_button_set_active(Ui.names[module], TRUE);
  Ui.checkingName = false;
}

GtkWindow* SettingsWindow() { return Ui.window; }

void OpenSettingsWindow(GtkApplication* application) {
  std::string unreadable;
  if (!LoadSettings(&unreadable)) unreadable = std::string(kSettingsUnreadable) + ": " + unreadable;
  Ui.window = GTK_WINDOW(gtk_application_window_new(application));
  gtk_window_set_title(Ui.window, "Lumvia Settings");
  gtk_window_set_icon_name(Ui.window, "lumvia");
  AddStyle();
  CloseOnEscape();
  GtkWidget* columns = Row({PreviewColumn(), Scenes()});
  gtk_box_set_spacing(GTK_BOX(columns), 18);
  GtkWidget* all = gtk_box_new(GTK_ORIENTATION_VERTICAL, 18);
  gtk_box_append(GTK_BOX(all), columns);
  gtk_box_append(GTK_BOX(all), Buttons());
  for (auto set : {gtk_widget_set_margin_top, gtk_widget_set_margin_bottom,
                   gtk_widget_set_margin_start, gtk_widget_set_margin_end})
    set(all, 18);
  gtk_window_set_child(Ui.window, all);
  g_signal_connect(Ui.window, "destroy", G_CALLBACK(+[] { ClosePreview(); }), nullptr);
  gtk_window_present(Ui.window);
  gtk_widget_grab_focus(Ui.preview);  // the keys steer it at once
  if (!unreadable.empty()) Fail(unreadable);
}
