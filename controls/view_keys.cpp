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

void KeyDown(WindowHandle window, uintptr_t key) {
  switch (key) {
    case vk::Back: ChangeModule(window, false); break;
    case vk::Return: ChangeModule(window, true); break;
    case vk::Escape: SaverState.Closing = true; break;
    case vk::Prior:
    case vk::Numpad9: Step(g_fDepth, DepthStep(kFineZoomStep)); break;
    case vk::Next:
    case vk::Numpad3: Step(g_fDepth, -DepthStep(kFineZoomStep)); break;
    case vk::Home: LoadDefaultParams(CurrentModule); break;
    case vk::Left:
    case vk::Numpad4: Step(g_fHorz, -DepthStep(kFinePanStep)); break;
    case vk::Up:
    case vk::Numpad8: Step(g_fVert, DepthStep(kFinePanStep)); break;
    case vk::Right:
    case vk::Numpad6: Step(g_fHorz, DepthStep(kFinePanStep)); break;
    case vk::Down:
    case vk::Numpad2: Step(g_fVert, -DepthStep(kFinePanStep)); break;
    case vk::F1: ShowControlMenu(window); break;
    case vk::F2: g_fXrot -= kRotationStep; break;
    case vk::F3: g_fXrot += kRotationStep; break;
    case vk::F4: g_fYrot -= kRotationStep; break;
    case vk::F5: g_fYrot += kRotationStep; break;
    case vk::F6: g_fZrot += kRotationStep; break;
    case vk::F7: g_fZrot -= kRotationStep; break;
    case vk::F8: g_fSpeed -= kSpeedStep; BoundSpeed(); break;
    case vk::F9: g_fSpeed += kSpeedStep; BoundSpeed(); break;
    case vk::F11: ShowParameters(window); break;
    default:
      // In the saver every key without an action ends it; in the settings
      // dialog such keys do nothing.
      if (SaverState.SaverMode) SaverState.Closing = true;
      break;
  }
}

}  // namespace

intptr_t HandleViewKey(WindowHandle window, uint32_t message, uintptr_t key, intptr_t) {
  // The preview inside the Display control panel takes no keys at all.
  if (SaverState.SaverMode && !SaverState.FullScreen) return 0;
  if (message == kWmKeyDown) KeyDown(window, key);
  return 0;
}
