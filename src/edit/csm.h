// csm: create one of five built-in simple meshes.
#pragma once

namespace edit {

// Asks which mesh and its size, and writes it to tmp.vmz for the shell to read back. Never
// touches a buffer; whatever the current buffer held is replaced by the hand-back.
void vmzcsm();

}  // namespace edit
