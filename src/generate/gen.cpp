#include "generate/gen.h"

#include <climits>
#include <memory>

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "console/textfile.h"
#include "generate/dwfile.h"
#include "generate/wgevmz.h"

namespace generate {

namespace {

using console::errf;
using console::outf;
using console::warning;

// The refusal: the file closed, the buffer as it was.
char refuse(std::unique_ptr<console::InputFile>& file) {
  file.reset();
  outf("\n");
  console::pause("No mesh generation (previous data unchanged) - press the Return key ... ");
  return 'n';
}

// Warns for each count of the combination that the refinement cannot handle; true when both
// are usable.
bool combination_usable(int ngtyp, int nnode, int nnodg) {
  bool usable = true;
  switch (ngtyp) {
    case 1:
      if (nnode != 2 && nnode != 3) {
        warning("N. of nodes per element in the original file must be 2 or 3");
        usable = false;
      }
      if (nnodg != 2 && nnodg != 3) {
        warning("N. of nodes of the generated elements (nnodg) must be 2 or 3");
        usable = false;
      }
      break;
    case 2:
      if (nnode != 4 && nnode != 8 && nnode != 9) {
        warning("N. of nodes per element in the original file must be 4, 8 or 9");
        usable = false;
      }
      if (nnodg != 4 && nnodg != 8 && nnodg != 9) {
        warning("N. of nodes of the generated elements (nnodg) must be 4, 8 or 9");
        usable = false;
      }
      break;
    case 3:
      if (nnode != 8 && nnode != 20) {
        warning("N. of nodes per element in the original file must be 8 or 20");
        usable = false;
      }
      if (nnodg != 8 && nnodg != 20) {
        warning("N. of nodes of the generated elements (nnodg) must be 8 or 20");
        usable = false;
      }
      break;
    default:
      warning("N. of local dimensions (ngtyp) must be 1, 2 or 3");
      usable = false;
  }
  return usable;
}

}  // namespace

char vmzgen(const mesh::MeshBuffer& buffer, const std::string& jobname,
            const mesh::Titles& titles) {
  std::unique_ptr<console::InputFile> file;
  outf("\nGenerate a refined mesh\n");
  if (buffer.nelem < 1) {
    warning("N. of elements less than 1");
    return refuse(file);
  }

  // A closed list counts with its open node count; the buffer keeps its own counts.
  int nelem = buffer.nelem;
  int nnode = mesh::open_count(buffer, 1);
  for (int ielem = 2; ielem <= nelem; ++ielem) {
    int count = mesh::open_count(buffer, ielem);
    if (count != nnode) {
      errf("\n");
      errf("Checking element n. %8d\n", ielem);
      errf("\n");
      errf("N. of nodes per element = %8d\n", count);
      warning("N. of nodes per element must be constant");
      return refuse(file);
    }
  }
  outf("\nN. of nodes per element in the original file = %5d\n", nnode);

  std::string name = jobname + "_dw.dat";
  outf("\nReading file: %s\n", name.c_str());
  file = console::InputFile::open(name);
  char mode = 'y';
  if (!file) {
    warning("File jobname_dw.dat not found - running interactively");
    mode = 'n';
  }

  int ngtyp = 0;
  int nnodg = 0;
  std::string title;
  rdwdat(mode, file.get(), ngtyp, nnodg, title);
  outf("\nN. of local dimensions                (ngtyp) = %5d\n", ngtyp);
  outf("N. of nodes of the generated elements (nnodg) = %5d\n", nnodg);
  if (!combination_usable(ngtyp, nnode, nnodg)) return refuse(file);

  console::OneMatrix<int> divisions(nelem, ngtyp);
  rnelsi(nelem, ngtyp, mode, divisions, file.get());
  // Equal steps are held as such and listed weights as read, so the weights cost no more than
  // the file that lists them, however many divisions are asked for.
  StepWeights weights(divisions);
  rweisi(nelem, ngtyp, mode, divisions, weights, file.get());
  file.reset();

  // Element and point numbers are ints in the mesh file and in the buffer that reads it back:
  // a refinement that would number beyond them is refused rather than written wrong. Nothing
  // sized by the divisions has been allocated before this check.
  GeneratedCounts total = total_counts(nelem, ngtyp, nnodg, divisions);
  if (total.elements > INT_MAX || total.points > INT_MAX) {
    if (total.elements > INT_MAX) warning("N. of generated elements greater than 2147483647");
    if (total.points > INT_MAX) warning("N. of generated nodes greater than 2147483647");
    return refuse(file);
  }

  wgevmz(buffer, ngtyp, nnode, nnodg, titles, divisions, weights);
  return 'y';
}

}  // namespace generate
