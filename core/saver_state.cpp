// The frame loop's process-wide flags.
#include "core/saver_state.h"

SaverStateRecord SaverState;

void StartSaverState(bool saverMode, WindowHandle window, bool fullScreen) {
  SaverState = SaverStateRecord{};
  SaverState.SaverMode = saverMode;
  SaverState.Window = window;
  SaverState.FullScreen = fullScreen;
}

void AskToClose() { SaverState.Closing = true; }
