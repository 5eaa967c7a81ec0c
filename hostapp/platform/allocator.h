// How the host's memory allocator hands memory back to the system.
#pragma once

namespace host::platform {

// Keeps freed heap memory in the process (up to 256 MiB) instead of handing
// it back to the system at every free. A drawing freed by Undo or by a new
// preview is drawn again at once; memory the system must hand out afresh
// costs a page fault per page touched, which was more than a third of a
// redraw's time on the machines measured. Call once, before any drawing.
// Does nothing where the allocator has no such setting.
void keepFreedMemoryForRedraws();

// Hands the freed memory kept so back to the system: after a large answer
// that is not drawn again at once (a download, a drawing sent to the page).
void releaseFreedMemory();

}  // namespace host::platform
