#include "mesh/meshwriter.h"

#include <algorithm>
#include <vector>

#include "console/numfmt.h"
#include "console/report.h"
#include "console/threads.h"

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
  out_.put_formatted([&](std::string& text) { format_element(text, written_[0], count, nodes); });
}

void MeshWriter::element_line(std::string_view text) {
  check_section(0);
  out_.put(text);
  out_.put('\n');
}

void MeshWriter::point(double x1, double x2, double x3) {
  check_section(1);
  double xyz[ndime] = {x1, x2, x3};
  out_.put_formatted([&](std::string& text) { format_point(text, written_[1], xyz); });
}

void MeshWriter::special(int ipoin) {
  check_section(2);
  out_.put_formatted([&](std::string& text) { format_special(text, written_[2], ipoin); });
}

void MeshWriter::format_element(std::string& text, int number, int count, const int* nodes) {
  // The record is made in one piece: each field takes at most 11 characters and its separator.
  char line[3 * 12 + mnode * 12];
  char* at = console::format_int(line, number, 5);
  *at++ = ' ';
  at = console::format_int(at, count, 5);
  for (int k = 0; k < 3; ++k) *at++ = ' ';
  for (int k = 0; k < count; ++k) {
    if (k % mnode == 0 && k > 0) {
      // Only a command's fault gives more nodes than an element holds; they are written too.
      text.append(line, static_cast<std::size_t>(at - line));
      at = line;
    }
    *at++ = ' ';
    at = console::format_int(at, nodes[k], 5);
  }
  *at++ = '\n';
  text.append(line, static_cast<std::size_t>(at - line));
}

void MeshWriter::format_point(std::string& text, int number, const double* xyz) const {
  bool standard = layout_ == Layout::standard;
  console::append_int(text, number, standard ? 5 : 8);
  for (int j = 0; j < ndime; ++j) {
    text += ' ';
    console::append_fixed(text, xyz[j], 15, standard ? 8 : 10);
  }
  text += '\n';
}

void MeshWriter::format_special(std::string& text, int number, int ipoin) {
  console::append_int(text, number, 5);
  text += ' ';
  console::append_int(text, ipoin, 5);
  text += '\n';
}

template <class Format>
void MeshWriter::records(int section, int count, int threads, Format format) {
  if (count == 0) return;
  // The whole run must fit the announced count, after complete earlier sections.
  for (int s = 0; s < section; ++s) {
    if (written_[s] != count_[s])
      console::fatal(routine_ + ": internal error " + std::to_string(s + 1));
  }
  if (count > count_[section] - written_[section])
    console::fatal(routine_ + ": internal error " + std::to_string(section + 1));
  // Rounds of slices of consecutive records, each formatted into its own text, and the texts
  // written in order, so the bytes do not depend on the threads and the memory held is a few
  // slices whatever the size of the mesh.
  // A round is cut into a few slices a thread, taken in turn: a thread slowed by other work on
  // the machine takes fewer.
  int slices = threads * slices_per_thread;
  std::vector<std::string> texts(slices);
  int first = written_[section] + 1;
  int last = written_[section] + count;
  while (first <= last) {
    int round = std::min(last - first + 1, slices * parallel_slice);
    console::run_tasks(threads, slices, [&](int i) {
      int from = first + static_cast<int>(static_cast<long long>(round) * i / slices);
      int to = first + static_cast<int>(static_cast<long long>(round) * (i + 1) / slices);
      // Formatted in a string of the thread's own: the texts' sizes lie side by side in memory.
      std::string text;
      text.swap(texts[i]);
      text.clear();
      for (int number = from; number < to; ++number) format(text, number);
      text.swap(texts[i]);
    });
    out_.put_blocks(texts);
    first += round;
    written_[section] += round;
  }
}

void MeshWriter::buffer_records(const MeshBuffer& buffer) {
  int threads = console::thread_count();
  if (threads < 2 || buffer.nelem + buffer.npoin < parallel_slice) {
    for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
      element(buffer.nnoel[ielem], buffer.lnods.row(ielem));
    }
    for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) point(buffer.coord.row(ipoin));
    for (int i = 1; i <= buffer.nspno; ++i) special(buffer.lspno[i]);
    return;
  }
  records(0, buffer.nelem, threads, [&](std::string& text, int ielem) {
    format_element(text, ielem, buffer.nnoel[ielem], buffer.lnods.row(ielem));
  });
  records(1, buffer.npoin, threads, [&](std::string& text, int ipoin) {
    format_point(text, ipoin, buffer.coord.row(ipoin));
  });
  records(2, buffer.nspno, threads, [&](std::string& text, int i) {
    format_special(text, i, buffer.lspno[i]);
  });
}

void MeshWriter::finish() {
  for (int s = 0; s < 3; ++s) {
    if (written_[s] != count_[s]) {
      console::fatal(routine_ + ": internal error " + std::to_string(s + 1));
    }
  }
}

void write_buffer(MeshWriter& writer, const MeshBuffer& buffer) {
  writer.buffer_records(buffer);
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
