// The state a frame advances, at its start values.
#include "core/frame_state.h"

FrameStateRecord FrameState;
