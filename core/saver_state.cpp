// The frame loop's process-wide flags.
#include "core/saver_state.h"

SaverStateRecord SaverState;
