#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include "hostapp/platform/console.h"

namespace host::platform {

void useBinaryStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

bool standardErrorIsTerminal() { return _isatty(2) != 0; }

}  // namespace host::platform
