// The host's process-wide variables, at their start values, and the instance
// handle they hold for the dialogs below the host.
#include "host/host_state_win32.h"
#include "platform/instance_win32.h"

HostStateRecord HostState;

HINSTANCE ProgramInstance() { return HostState.Instance; }
