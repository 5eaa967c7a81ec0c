// What both systems' child processes share.
#include "hostapp/platform/child_process.h"

namespace host::platform {

ChildProcess::~ChildProcess() {
  if (running_) {
    kill();
    wait();
  }
  for (Pipe& pipe : pipes_) closePipe(pipe.parent);
  closeChildEnds();
}

}  // namespace host::platform
