/* Compiled as C99: the host interface must stay C-compatible. */
#include "shell/host/host_interface.h"

int spiralInterfaceCheck(void) {
  PathSegment segment = {{0, 0}, {0, 0}, {0, 0}, 0};
  return (int)sizeof segment + (int)sizeof(FilterMessage) + (int)sizeof(ADMItemSuiteV4);
}
