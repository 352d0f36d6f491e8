#include "mesh/meshwriter.h"

#include "console/report.h"

namespace mesh {

MeshWriter::MeshWriter(console::OutputFile& out, const Titles& titles, int nelem, int npoin,
                       int nspno, std::string routine, Layout layout)
    : out_(out), routine_(std::move(routine)), layout_(layout), count_{nelem, npoin, nspno} {
  out_.put(titles.main);
  out_.put('\n');
  out_.put(titles.mesh);
  out_.put('\n');
  if (layout_ == Layout::standard) {
    out_.put_int(nelem, 5);
    out_.put("   ");
    out_.put_int(npoin, 5);
    out_.put("   ");
    out_.put_int(nspno, 5);
  } else {
    out_.put_int(nelem, 8);
    out_.put(' ');
    out_.put_int(npoin, 8);
    out_.put(' ');
    out_.put_int(nspno, 8);
  }
  out_.put('\n');
}

void MeshWriter::check_section(int section) {
  // Records come section after section; a record beyond its announced count, or one written
  // after a later section has begun, can only be a fault of the calling command.
  for (int s = 0; s < section; ++s) {
    if (written_[s] != count_[s])
      console::fatal(routine_ + ": internal error " + std::to_string(s + 1));
  }
  if (written_[section] >= count_[section]) {
    console::fatal(routine_ + ": internal error " + std::to_string(section + 1));
  }
  ++written_[section];
}

void MeshWriter::element(int count, const int* nodes) {
  check_section(0);
  out_.put_int(written_[0], 5);
  out_.put(' ');
  out_.put_int(count, 5);
  out_.put("   ");
  for (int k = 0; k < count; ++k) {
    out_.put(' ');
    out_.put_int(nodes[k], 5);
  }
  out_.put('\n');
}

void MeshWriter::element_line(std::string_view text) {
  check_section(0);
  out_.put(text);
  out_.put('\n');
}

void MeshWriter::point(double x1, double x2, double x3) {
  check_section(1);
  if (layout_ == Layout::standard) {
    out_.put_int(written_[1], 5);
    for (double x : {x1, x2, x3}) {
      out_.put(' ');
      out_.put_fixed(x, 15, 8);
    }
  } else {
    out_.put_int(written_[1], 8);
    for (double x : {x1, x2, x3}) {
      out_.put(' ');
      out_.put_fixed(x, 15, 10);
    }
  }
  out_.put('\n');
}

void MeshWriter::special(int ipoin) {
  check_section(2);
  out_.put_int(written_[2], 5);
  out_.put(' ');
  out_.put_int(ipoin, 5);
  out_.put('\n');
}

void MeshWriter::finish() {
  for (int s = 0; s < 3; ++s) {
    if (written_[s] != count_[s]) {
      console::fatal(routine_ + ": internal error " + std::to_string(s + 1));
    }
  }
}

void write_buffer(MeshWriter& writer, const MeshBuffer& buffer) {
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    writer.element(buffer.nnoel[ielem], buffer.lnods.row(ielem));
  }
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) writer.point(buffer.coord.row(ipoin));
  for (int i = 1; i <= buffer.nspno; ++i) writer.special(buffer.lspno[i]);
  writer.finish();
}

std::unique_ptr<console::OutputFile> open_handback(const char* open_failure) {
  auto out = console::OutputFile::open(handback_file, console::OutputFile::Mode::truncate,
                                       "Unable to write output file - tmp.vmz");
  if (!out) console::fatal(open_failure);
  return out;
}

void close_handback(console::OutputFile& out) {
  out.finish();
}

}  // namespace mesh
