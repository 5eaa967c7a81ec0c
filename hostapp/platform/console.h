// The program's standard streams as the system gives them.
#pragma once

namespace host::platform {

// Makes standard output and standard error write bytes as they are given, so
// that what the host prints is the same on every system (no \r\n on
// Windows), and standard input read them as they come (a binary record
// through --params -). Call before anything is read or written.
void useBinaryStandardStreams();

// Whether standard error is a terminal (someone to show progress to).
bool standardErrorIsTerminal();

}  // namespace host::platform
