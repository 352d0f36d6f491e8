// The divisions-and-weights file jobname_dw.dat of the refinement, and the same data asked
// interactively when there is no such file.
//
// The file holds, in order: a title line; the number of local dimensions ngtyp (1 lines,
// 2 surfaces, 3 solids); the node count nnodg of the generated elements; one line per element
// "i d1 [d2 [d3]]" with its divisions along s1, s2, s3; then either END_OF_FILE (equal steps
// everywhere) or a weights section followed by END_OF_FILE. The weights section has, per
// element, a line "i" and then, per direction, one line "k w" per division k; a weight of -1
// gives the direction equal steps at once and ends its list.
//
// Blank lines and comment lines (first character '#') may stand anywhere; data lines may end in
// a comment. Every fault in the file is a fatal report, after context lines on the error stream
// that say which element, direction and weight was being read.
//
// The read mode is 'y' (reading `file`) or 'n' (interactive: `file` is not used and may be
// null). Any other mode is an internal error of the routine.
#pragma once

#include <string>
#include <vector>

#include "console/arrays.h"
#include "console/textfile.h"

namespace generate {

// Rooms of the lines read as text (with the terminator): the title, and the probes for
// END_OF_FILE.
constexpr int title_line_size = 999;
constexpr int probe_line_size = 79;
// Longest title kept.
constexpr int dw_title_length = 72;

// The title and the two generation parameters. The title is printed in file mode.
void rdwdat(char mode, console::InputFile* file, int& ngtyp, int& nnodg, std::string& title);

// Fills divisions (nelem x ngtyp) and returns the largest entry. When the divisions are followed
// by END_OF_FILE the mode becomes 'n': there are no weights to read. Otherwise the file is left
// at the first line of the weights section.
int rnelsi(int nelem, int ngtyp, char& mode, console::OneMatrix<int>& divisions,
           console::InputFile* file);

// The step lengths of every element along every direction, as fractions of the side. A
// direction with equal steps holds no list (its weight k is 1 / D whenever asked), so the memory
// follows the weights that the file lists, never the number of divisions: a line cut into two
// thousand million equal steps costs nothing here.
class StepWeights {
 public:
  StepWeights() = default;
  // Every direction of every element with equal steps (D from the divisions).
  explicit StepWeights(const console::OneMatrix<int>& divisions);

  // Weight k (1 .. D) of element ielem along direction idire.
  double operator()(int ielem, int idire, int k) const {
    long long first = first_(ielem, idire);
    if (first < 0) return 1.0 / (*divisions_)(ielem, idire);
    return listed_[static_cast<std::size_t>(first + k - 1)];
  }
  // Gives the direction the listed weights, already divided by their sum.
  void list(int ielem, int idire, const std::vector<double>& weights);

 private:
  const console::OneMatrix<int>* divisions_ = nullptr;
  console::OneMatrix<long long> first_;  // index of weight 1 in listed_; -1: equal steps
  std::vector<double> listed_;
};

// Fills weights with the step lengths of element i along direction j: non-negative, summing
// to 1. `weights` must have been made from `divisions`.
void rweisi(int nelem, int ngtyp, char mode, const console::OneMatrix<int>& divisions,
            StepWeights& weights, console::InputFile* file);

}  // namespace generate
