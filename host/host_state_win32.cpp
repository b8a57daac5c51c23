// The host's process-wide variables, at their start values.
#include "host/host_state.h"

HostStateRecord HostState;
