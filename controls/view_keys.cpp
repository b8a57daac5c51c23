// Keyboard steering of the live view. Every change goes to the live view
// parameters only; the module's record receives them when the module changes
// or the window closes.
#include "controls/view_keys.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "core/frame_state.h"
#include "core/module_table.h"
#include "core/saver_state.h"
#include "platform/messages.h"
#include "settings/stored_values.h"

namespace {

constexpr float kRotationStep = 1.5f;
constexpr float kSpeedStep = 0.125f;
// The keys hold the speed within the range the settings store holds it to.
constexpr float kSlowest = static_cast<float>(StoredValueOf(&ModuleRecord::speed).low);
constexpr float kFastest = static_cast<float>(StoredValueOf(&ModuleRecord::speed).high);
constexpr int kDepthDivisor = 50;
constexpr float kFineZoomStep = 0.3f;
constexpr float kFinePanStep = 0.1f;

// The coarse step grows by one for every 50 units of depth; below 50, and at
// any negative depth, the fine step applies. Worked in double, so that a depth
// beyond the range of a 32-bit integer (a zoom key held for long) still gives
// the whole-number quotient instead of an undefined conversion.
float DepthStep(float fine) {
  const double q = std::trunc(std::trunc(static_cast<double>(g_fDepth)) / kDepthDivisor);
  return q >= 1.0 ? static_cast<float>(q) : fine;
}

// Moves a view value by a step. The depth step grows with the depth, so
// Page Up held long enough would reach infinity, and Page Down from there NaN:
// a step that would overflow leaves the value at the largest finite float of
// its sign instead.
void Step(float& value, float step) {
  value += step;
  if (std::isinf(value)) value = std::copysign(std::numeric_limits<float>::max(), value);
}

void BoundSpeed() {
  if (g_fSpeed > kFastest) g_fSpeed = kFastest;
  if (g_fSpeed < kSlowest) g_fSpeed = kSlowest;
}

void ChangeModule(WindowHandle window, bool forward) {
  StoreModuleParams(CurrentModule);
  CurrentModule = forward ? NextActiveModule(CurrentModule) : PreviousActiveModule(CurrentModule);
  LoadModuleParams(CurrentModule);
  SaverState.LastSwitchTime = TickCount();
  if (!SaverState.SaverMode) CheckModuleRadio(window, CurrentModule);
}

void ShowParameters(WindowHandle window) {
  char text[512];
  std::snprintf(text, sizeof text,
                "g_fDepth %f\ng_fHorz  %f\ng_fVert  %f\ng_fXrot  %f\ng_fYrot  %f\ng_fZrot  %f\n"
                "g_fSpeed %f\n",
                static_cast<double>(g_fDepth), static_cast<double>(g_fHorz),
                static_cast<double>(g_fVert), static_cast<double>(g_fXrot),
                static_cast<double>(g_fYrot), static_cast<double>(g_fZrot),
                static_cast<double>(g_fSpeed));
  ShowMessageBox(window, text, "Params", kMbOk);
}

// --- The actions ------------------------------------------------------------------
void Close(WindowHandle) { AskToClose(); }
void PreviousModule(WindowHandle window) { ChangeModule(window, false); }
void NextModule(WindowHandle window) { ChangeModule(window, true); }
void ZoomOut(WindowHandle) { Step(g_fDepth, DepthStep(kFineZoomStep)); }
void ZoomIn(WindowHandle) { Step(g_fDepth, -DepthStep(kFineZoomStep)); }
void DefaultView(WindowHandle) { LoadDefaultParams(CurrentModule); }
void PanLeft(WindowHandle) { Step(g_fHorz, -DepthStep(kFinePanStep)); }
void PanUp(WindowHandle) { Step(g_fVert, DepthStep(kFinePanStep)); }
void PanRight(WindowHandle) { Step(g_fHorz, DepthStep(kFinePanStep)); }
void PanDown(WindowHandle) { Step(g_fVert, -DepthStep(kFinePanStep)); }
void OpenControlMenu(WindowHandle window) { ShowControlMenu(window); }
void TurnXBack(WindowHandle) { g_fXrot -= kRotationStep; }
void TurnX(WindowHandle) { g_fXrot += kRotationStep; }
void TurnYBack(WindowHandle) { g_fYrot -= kRotationStep; }
void TurnY(WindowHandle) { g_fYrot += kRotationStep; }
void TurnZ(WindowHandle) { g_fZrot += kRotationStep; }
void TurnZBack(WindowHandle) { g_fZrot -= kRotationStep; }
void Slower(WindowHandle) {
  g_fSpeed -= kSpeedStep;
  BoundSpeed();
}
void Faster(WindowHandle) {
  g_fSpeed += kSpeedStep;
  BoundSpeed();
}

constexpr const char* kArrowKeys = "Arrow Keys - Up Down Right Left";

// clang-format off
constexpr ViewKey kViewKeys[] = {
    // key       keypad        action           line in the control menu
    {vk::F1,     0,            OpenControlMenu, "F1 - This Control Menu"},
    {vk::Escape, 0,            Close,           "Esc - Quit\n"},  // and a blank line
    {vk::Prior,  vk::Numpad9,  ZoomOut,         "Page Up - Zoom Out"},
    {vk::Next,   vk::Numpad3,  ZoomIn,          "Page Down - Zoom In"},
    {vk::Left,   vk::Numpad4,  PanLeft,         kArrowKeys},
    {vk::Up,     vk::Numpad8,  PanUp,           nullptr},
    {vk::Right,  vk::Numpad6,  PanRight,        nullptr},
    {vk::Down,   vk::Numpad2,  PanDown,         nullptr},
    {vk::F2,     0,            TurnXBack,       "F2,F3 - Rotate Fwd/Bkwd"},
    {vk::F3,     0,            TurnX,           nullptr},
    {vk::F4,     0,            TurnYBack,       "F4,F5 - Rotate Vertical"},
    {vk::F5,     0,            TurnY,           nullptr},
    {vk::F6,     0,            TurnZ,           "F6,F7 - Rotate Left/Right"},
    {vk::F7,     0,            TurnZBack,       nullptr},
    {vk::F8,     0,            Slower,          "F8,F9 - Speed Up/Down"},
    {vk::F9,     0,            Faster,          nullptr},
    {vk::Home,   0,            DefaultView,     "Home - Restore Default Position"},
    {vk::Return, 0,            NextModule,      "Enter - Next Module", MenuText::Modules},
    {vk::Back,   0,            PreviousModule,  "Backspace - Previous Module", MenuText::Modules},
    {vk::F11,    0,            ShowParameters,  nullptr},
};
// clang-format on

const ViewKey* FindViewKey(uintptr_t key) {
  for (const ViewKey& k : kViewKeys)
    if (k.key == key || (k.keypad != 0 && k.keypad == key)) return &k;
  return nullptr;
}

}  // namespace

std::span<const ViewKey> ViewKeys() { return kViewKeys; }

bool HasViewAction(uintptr_t key) { return FindViewKey(key) != nullptr; }

std::string ControlMenuText(MenuText text) {
  std::string lines;
  for (const ViewKey& k : kViewKeys) {
    if (!k.line || k.text != text) continue;
    if (!lines.empty()) lines += '\n';
    lines += k.line;
  }
  return lines;
}

void PressViewKey(WindowHandle window, uintptr_t key) {
  // The preview inside the Display control panel takes no keys at all.
  if (SaverState.SaverMode && !SaverState.FullScreen) return;
  if (const ViewKey* k = FindViewKey(key)) {
    k->action(window);
    return;
  }
  // In the saver every key without an action ends it; in the settings
  // dialog such keys do nothing.
  if (SaverState.SaverMode) AskToClose();
}

intptr_t HandleViewKey(WindowHandle window, uint32_t message, uintptr_t key, intptr_t) {
  if (message == kWmKeyDown) PressViewKey(window, key);
  return 0;
}
