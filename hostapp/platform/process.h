// This process and others by number: the host names its temporary files
// after the run that made them, so that a later run can tell the leftovers
// of a run that died from the files of one still running.
#pragma once

namespace host::platform {

// The number of this process.
long currentProcessId();
// Whether a process numbered `pid` runs on this machine (a number reused
// by another program counts as running).
bool processAlive(long pid);

}  // namespace host::platform
