// rot: rotate the mesh of the current buffer about an axis.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Asks an axis (two points A, B) and an angle in degrees, and turns every point of the buffer,
// in place, right-handed about the direction from A to B. Refuses (CoordinatesOutOfRange)
// before changing anything when a coordinate would not stay finite.
void vmzrot(mesh::MeshBuffer& buffer);

// Moves every point x of the buffer to t·(x − a) + a (see turn_about), in place, after making
// sure that every image is finite (else CoordinatesOutOfRange, nothing changed).
void turn_all_points(mesh::MeshBuffer& buffer, const console::OneMatrix<double>& t,
                     const console::OneVector<double>& a);

}  // namespace edit
