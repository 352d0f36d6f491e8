// The ways the editing commands refuse input that would give a mesh no file can hold.
//
// A refusal leaves the buffer exactly as it was: the in-place commands find out before they
// change anything, and the hand-back commands stop writing tmp.vmz, which the shell then
// discards (it treats the refusal as a result that could not be written).
#pragma once

#include <string_view>

#include "console/report.h"

namespace edit {

// A coordinate of the result is not a finite number (too large for a double, or undefined):
// the mesh file could not store it and no reader would take it back.
class CoordinatesOutOfRange : public console::WriteFailure {
 public:
  CoordinatesOutOfRange()
      : console::WriteFailure("Coordinates out of range - the result cannot be stored") {}
};

// Throws CoordinatesOutOfRange unless every value is finite.
void require_finite(const double* values, int count);

// Asks `question` (default 1) until the answer is at least 1 and the mesh repeated
// `product` · answer times still numbers its elements, points and special nodes within an int
// (`largest` is the largest of the three counts of one copy, `product` the number of copies
// already decided by earlier answers).
int ask_repetitions(std::string_view question, long long product, int largest);

}  // namespace edit
