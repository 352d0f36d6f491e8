#include "exchange/wrp.h"

#include "console/dialogue.h"
#include "console/report.h"
#include "console/textfile.h"

namespace exchange {

void wrpva(const mesh::MeshBuffer& buffer, const std::string& jobname) {
  console::outf("\nWrite a .pva file with one of the coordinates of a .vmz file\n");
  int axis = console::askint("x,y or z (1,2 or 3)", 1);
  while (axis < 1 || axis > mesh::ndime) {
    console::outf("\nERROR: repeat answer ...\n");
    axis = console::askint("x,y or z (1,2 or 3)", 1);
  }

  std::string name = jobname + "_1.pva";
  console::outf("\nWriting file: %s\n", name.c_str());
  auto out = console::OutputFile::open(name, console::OutputFile::Mode::replace,
                                       "Unable to write output file - jobname_1.pva");
  if (!out) console::fatal("Unable to open output file - jobname_1.pva");
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    out->put_int(ipoin, 5);
    out->put(' ');
    out->put_fixed(buffer.coord(ipoin, axis), 15, 8);
    out->put('\n');
  }
  out->finish();
}

}  // namespace exchange
