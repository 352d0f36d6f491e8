// Input of the points of a line (two distinct points) or of a plane (three points not on one
// line), each typed either as the number of a point of the current mesh or as its coordinates.
#pragma once

#include "console/arrays.h"

namespace console {

// Points are one-based vectors of coord.cols() coordinates, allocated by the caller.
// Valid point numbers are 1 .. npoin; coordinates are taken from coord.
void asklin(int npoin, const OneMatrix<double>& coord, OneVector<double>& first,
            OneVector<double>& second);
void askpla(int npoin, const OneMatrix<double>& coord, OneVector<double>& first,
            OneVector<double>& second, OneVector<double>& third);

}  // namespace console
