#include "hostapp/platform/console.h"

#include <unistd.h>

namespace host::platform {

// POSIX streams are bytes already.
void useBinaryStandardStreams() {}

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

}  // namespace host::platform
