#include "mesh/sndfile.h"

#include <string_view>

#include "console/checks.h"
#include "console/report.h"

namespace mesh {

namespace {
[[noreturn]] void record_error(int i, const char* message) {
  console::errf("\nReading special node n. %8d\n", i);
  console::fatal(message);
}

int read_int(console::InputFile& file, int i) {
  std::string_view token;
  if (!file.next_token(token)) {
    if (i > 0) record_error(i, "Unexpected end of file");
    console::fatal("Unexpected end of file");
  }
  int value = 0;
  if (!console::parse_int(token, value)) {
    if (i > 0) record_error(i, "Invalid integer in the file");
    console::fatal("Invalid integer in the file");
  }
  return value;
}
}  // namespace

void rdsnd(const std::string& jobname, MeshBuffer& buffer) {
  std::string name = jobname + ".snd";
  console::outf("\nReading file: %s\n", name.c_str());
  auto file = console::InputFile::open(name);
  if (!file) console::fatal("File not found - jobname.snd");
  int nspno = read_int(*file, 0);
  if (nspno < 0) console::fatal("Negative number of special nodes");
  console::OneVector<int> lspno(nspno);
  for (int i = 1; i <= nspno; ++i) {
    if (read_int(*file, i) != i) record_error(i, "Wrong special node number");
    int node = read_int(*file, i);
    if (node < 1 || node > buffer.npoin) record_error(i, "Special node number out of range");
    lspno[i] = node;
  }
  buffer.lspno = std::move(lspno);
  buffer.nspno = nspno;
}

void wrsnd(console::OutputFile& out, const console::OneVector<int>& points, int count) {
  out.put_int(count, 8);
  out.put('\n');
  for (int i = 1; i <= count; ++i) {
    out.put_int(i, 8);
    out.put("   ");
    out.put_int(points[i], 8);
    out.put('\n');
  }
}

}  // namespace mesh
