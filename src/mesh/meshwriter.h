// The one writer of the mesh-file layout. Every command that writes a mesh file goes through it,
// so the column widths, the record numbering and the count checks exist once.
//
// The counts are announced first; records are then written in file order (elements, points,
// special nodes), each numbered with its running index. `finish` checks that as many records
// were written as announced: a difference is the fatal report "<routine>: internal error 1"
// (elements), "2" (points) or "3" (special nodes).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "console/textfile.h"
#include "mesh/meshbuffer.h"

namespace mesh {

class MeshWriter {
 public:
  // standard: counts "%5d   %5d   %5d", element lines "%5d %5d   " and " %5d" a node, point
  //           lines "%5d" and " %15.8lf" a coordinate, special nodes "%5d %5d".
  // wide:     counts "%8d %8d %8d", point lines "%8d" and " %15.10lf" a coordinate; element
  //           lines are given literally.
  enum class Layout { standard, wide };

  MeshWriter(console::OutputFile& out, const Titles& titles, int nelem, int npoin, int nspno,
             std::string routine, Layout layout = Layout::standard);

  // One element record: count entries of nodes[0 .. count - 1].
  void element(int count, const int* nodes);
  // One element record written as the given text (a line end is added).
  void element_line(std::string_view text);
  void point(double x1, double x2, double x3);
  void point(const double* xyz) { point(xyz[0], xyz[1], xyz[2]); }
  void special(int ipoin);
  // Every record of a whole buffer, formatted by several threads when it is large.
  void buffer_records(const MeshBuffer& buffer);
  // Checks the record counts against the announced ones.
  void finish();

 private:
  // Records of a slice, and slices a thread, in one round of buffer_records.
  static constexpr int parallel_slice = 2048;
  static constexpr int slices_per_thread = 4;

  void check_section(int section);
  static void format_element(std::string& text, int number, int count, const int* nodes);
  void format_point(std::string& text, int number, const double* xyz) const;
  static void format_special(std::string& text, int number, int ipoin);
  // `count` records of `section` after those written, record n formatted by format(text, n).
  template <class Format>
  void records(int section, int count, int threads, Format format);

  console::OutputFile& out_;
  std::string routine_;
  Layout layout_;
  int count_[3];
  int written_[3] = {0, 0, 0};
};

// Writes a whole buffer and finishes.
void write_buffer(MeshWriter& writer, const MeshBuffer& buffer);

// The temporary mesh file of a hand-back.
inline constexpr const char* handback_file = "tmp.vmz";
// Opens tmp.vmz for writing; when it cannot be opened the fatal report `open_failure`.
std::unique_ptr<console::OutputFile> open_handback(
    const char* open_failure = "Unable to open output file - tmp.vmz");
// Closes tmp.vmz; a write error is a WriteFailure.
void close_handback(console::OutputFile& out);

}  // namespace mesh
