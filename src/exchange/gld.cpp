#include "exchange/gld.h"

#include <algorithm>

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "console/textfile.h"
#include "exchange/gld_text.h"

namespace exchange {

namespace {

using console::outf;
using console::OutputFile;
using gld::Lines;
using gld::ProblemType;
using mesh::MeshBuffer;

// Fixed main parameters: one load case is declared, one set of material properties, two Gauss
// points in both integration rules, one point with a specified coordinate system, one such system,
// one spring, one spring vector and four material properties.
constexpr int ncase = 1;
constexpr int nmats = 1;
constexpr int ngaus = 2;
constexpr int ngstr = 2;
constexpr int nnscs = 1;
constexpr int nsscs = 1;
constexpr int npspr = 1;
constexpr int nsspv = 1;
constexpr int nprop = 4;

constexpr double spring_constant = 100.0;
// Every element uses material 1 and element nodal properties 1; every special node fixes all
// its degrees of freedom.
constexpr int material_index = 1;
constexpr int properties_index = 1;
constexpr int fixed = 1;

// Connectivity lines of 20-node bricks (the solid type only accepts them) are broken after the
// tenth node; the first part ends in sixteen blanks.
constexpr int brick20 = 20;
constexpr int nodes_before_break = 10;
constexpr const char break_blanks[] = "                ";

void put_lines(OutputFile& out, Lines lines) {
  for (const char* line : lines) {
    out.put(line);
    out.put('\n');
  }
}

void put_line(OutputFile& out, const char* line) {
  out.put(line);
  out.put('\n');
}

void repeat_answer() {
  outf("\nERROR: repeat answer ...\n");
}

int ask_problem_type() {
  for (;;) {
    outf("\n      Available problem types:\n");
    for (int i = 1; i <= gld::ntype_count; ++i) {
      outf("         %d => %s\n", i, gld::problem_types[i - 1].menu);
    }
    int ntype = console::askint("Problem type in the generated file [1,9]", 1);
    if (ntype >= 1 && ntype <= gld::ntype_count) return ntype;
    repeat_answer();
  }
}

// The pair of coordinates written by the two-dimensional types: 1 (x1,x2), 2 (x2,x3), 3 (x1,x3).
int ask_extraction() {
  for (;;) {
    outf("\n      From the coordinates (x1,x2,x3) of the .vmz file extract:\n");
    for (int i = 1; i <= 3; ++i) outf("         %d => %s\n", i, gld::extraction_menu[i - 1]);
    int choice = console::askint("Your choice [1,2,3]", 1);
    if (choice >= 1 && choice <= 3) return choice;
    repeat_answer();
  }
}

// The refusal after a failed node-count check; no file is created.
void abandon() {
  console::errf("\n_gl.dat file cannot be generated\n");
  outf("\n");
  console::pause("Previous data unchanged - press the Return key ... ");
}

// The node count of every element (closed lists counted without their repeat), or -1 after the
// report of the first element that differs from element 1.
int constant_node_count(const MeshBuffer& buffer) {
  int nnode = mesh::open_count(buffer, 1);
  for (int ielem = 2; ielem <= buffer.nelem; ++ielem) {
    int count = mesh::open_count(buffer, ielem);
    if (count != nnode) {
      console::errf("\nChecking element n. %8d\n\nN. of nodes per element = %8d\n", ielem, count);
      console::warning("N. of nodes per element must be constant");
      return -1;
    }
  }
  return nnode;
}

bool allowed(const ProblemType& type, int nnode) {
  return std::find(type.nnode_allowed.begin(), type.nnode_allowed.end(), nnode) !=
         type.nnode_allowed.end();
}

void write_parameters(OutputFile& out, const MeshBuffer& buffer, const std::string& title,
                      int ntype, int nnode) {
  const ProblemType& type = gld::problem_types[ntype - 1];
  put_line(out, "### Main title of the problem");
  put_line(out, title.c_str());
  put_line(out, "");
  put_line(out, "### Main parameters");
  const int values[gld::main_parameter_count] = {
      buffer.nelem, buffer.npoin, buffer.nspno, ncase,      nmats,      type.nspen, ntype,
      nnode,        ngaus,        ngstr,        type.ndime, type.ndofn, nnscs,      nsscs,
      npspr,        nsspv,        nprop,        type.npren, type.nwink};
  for (int i = 0; i < gld::main_parameter_count; ++i) {
    out.put_int(values[i], 5);
    out.put(' ');
    put_line(out, gld::main_parameter_comments[i]);
  }
}

void write_connectivity(OutputFile& out, const MeshBuffer& buffer, const ProblemType& type,
                        int nnode) {
  if (type.nspen != 0 && type.nspen != 1) console::fatal("wgldat: internal error 2");
  put_lines(out, gld::connectivity_heading[type.nspen]);
  bool broken = nnode == brick20;
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    out.put("  ");
    out.put_int(ielem, 5);
    out.put(' ');
    out.put_int(material_index, 5);
    if (type.nspen == 1) {
      out.put(' ');
      out.put_int(properties_index, 5);
    }
    out.put("   ");
    const int* nodes = &buffer.lnods(ielem, 1);
    for (int k = 1; k <= nnode; ++k) {
      out.put(' ');
      out.put_int(nodes[k - 1], 5);
      if (broken && k == nodes_before_break) {
        out.put(break_blanks);
        out.put('\n');
      }
    }
    out.put('\n');
  }
}

// `choice` selects the pair of coordinates of a two-dimensional type (see ask_extraction).
void write_coordinates(OutputFile& out, const MeshBuffer& buffer, const ProblemType& type,
                       int choice) {
  if (type.ndime != 2 && type.ndime != 3) console::fatal("wgldat: internal error 3");
  put_lines(out, gld::coordinates_heading[type.ndime - 2]);
  int axes[3] = {1, 2, 3};
  if (type.ndime == 2) {
    axes[0] = gld::extraction_axes[choice - 1][0];
    axes[1] = gld::extraction_axes[choice - 1][1];
  }
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    out.put("  ");
    out.put_int(ipoin, 5);
    out.put("  ");
    for (int i = 0; i < type.ndime; ++i) {
      out.put("  ");
      out.put_fixed(buffer.coord(ipoin, axes[i]), 15, 8);
    }
    out.put('\n');
  }
}

void write_supports(OutputFile& out, const MeshBuffer& buffer, const ProblemType& type) {
  put_lines(out, gld::supports_heading);
  for (int ivfix = 1; ivfix <= buffer.nspno; ++ivfix) {
    out.put("  ");
    out.put_int(ivfix, 5);
    out.put(' ');
    out.put_int(buffer.lspno[ivfix], 5);
    out.put("   ");
    for (int idofn = 1; idofn <= type.ndofn; ++idofn) {
      out.put(' ');
      out.put_int(fixed, 2);
    }
    out.put('\n');
  }
}

// Coordinate systems, springs, materials, element nodal properties and Winkler faces.
void write_properties(OutputFile& out, const MeshBuffer& buffer, const ProblemType& type,
                      int nnode) {
  put_lines(out, gld::coordinate_system_points_heading);
  out.printf("  %5d   %5d   %5d\n", 1, 1, 1);

  put_lines(out, gld::coordinate_system_heading);
  out.printf("  %5d\n", 1);
  put_line(out, "# ivect   coscs...");
  put_lines(out, type.coordinate_system);

  put_lines(out, gld::springs_heading);
  out.printf("  %5d   %5d   %5d   %14.4le       t\n", 1, 1, 1, spring_constant);

  put_lines(out, gld::spring_vectors_heading);
  out.printf(" %5d", 1);
  put_line(out, type.spring_vector);

  put_lines(out, gld::materials);

  if (type.npren > 0) {
    put_lines(out, gld::nodal_properties_title);
    put_lines(out, type.properties.heading);
    console::OneVector<double> props(type.npren);
    props.zero();
    for (int i = 1; i <= type.npren && i <= static_cast<int>(type.properties.values.size()); ++i) {
      props[i] = type.properties.values[static_cast<std::size_t>(i - 1)];
    }
    for (int inode = 1; inode <= nnode; ++inode) {
      out.put("  ");
      out.put_int(inode, 5);
      out.put("  ");
      for (int i = 1; i <= type.npren; ++i) {
        out.put(' ');
        out.put_fixed(props[i], 10, 6);
      }
      out.put('\n');
    }
  }

  if (type.nwink > 0) {
    put_lines(out, gld::winkler_heading);
    // Face i lies on element i and lists all its nodes.
    for (int iwink = 1; iwink <= type.nwink; ++iwink) {
      put_line(out, "# iwink   lelwi");
      out.printf("  %5d   %5d\n", iwink, iwink);
      put_line(out, type.winkler_columns);
      for (int inode = 1; inode <= nnode; ++inode) {
        out.put("  ");
        out.put_int(buffer.lnods(iwink, inode), 5);
        put_line(out, type.winkler_values);
      }
    }
    put_line(out, "");
  }
}

// Load case 1 writes every section whole; load case 2 writes the column lines of each section's
// first item and the data lines it keeps.
void write_load_case(OutputFile& out, const gld::LoadText& text, int icase, int extra_blank) {
  put_lines(out, gld::load_case_heading[icase - 1]);
  const int* counts = icase == 1 ? text.first : text.second;
  for (int i = 0; i < gld::load_counts; ++i) {
    out.put_int(counts[i], 5);
    out.put(' ');
    put_line(out, gld::load_count_comments[i]);
  }
  for (std::size_t s = 0; s < text.sections.size(); ++s) {
    const gld::LoadSection& section = text.sections[s];
    if (icase == 1 && static_cast<int>(s) == extra_blank) put_line(out, "");
    put_line(out, "");
    bool own_title = icase == 2 && !section.second_title.empty();
    put_lines(out, own_title ? section.second_title : section.title);
    for (const char* line : section.body) {
      if (line == gld::next_item) {
        if (icase == 2) break;
        continue;
      }
      if (icase == 1 || line[0] == '#') put_line(out, line);
    }
    if (icase == 2) put_lines(out, section.second);
  }
}

void write_loads(OutputFile& out, int ntype) {
  if (ntype < 1 || ntype > gld::ntype_count) console::fatal("wgldat: internal error 4");
  const ProblemType& type = gld::problem_types[ntype - 1];
  write_load_case(out, *type.loads, 1, type.extra_blank);
  put_line(out, "");
  put_line(out, gld::load_case_separator);
  write_load_case(out, *type.loads, 2, -1);
  put_line(out, "");
  put_line(out, "END_OF_FILE");
}

}  // namespace

void wgldat(MeshBuffer& buffer, const std::string& jobname, const mesh::Titles& titles) {
  int ntype = ask_problem_type();
  if (ntype < 1 || ntype > gld::ntype_count) console::fatal("wgldat: internal error 1");
  const ProblemType& type = gld::problem_types[ntype - 1];

  // The counts are checked on the open node lists; the buffer itself is lowered only once the
  // file is complete, so a refusal or a failed write leaves it as it was.
  int nnode = constant_node_count(buffer);
  if (nnode < 0) {
    abandon();
    return;
  }
  if (!allowed(type, nnode)) {
    console::warning(type.nnode_refusal);
    abandon();
    return;
  }
  int choice = type.ndime == 2 ? ask_extraction() : 0;

  std::string name = jobname + "_gl.dat";
  outf("\nWriting file: %s\n", name.c_str());
  auto out = OutputFile::open(name, OutputFile::Mode::replace,
                              "Unable to write output file - jobname_gl.dat");
  if (!out) console::fatal("Unable to open output file - jobname_gl.dat");
  write_parameters(*out, buffer, titles.main, ntype, nnode);
  write_connectivity(*out, buffer, type, nnode);
  write_coordinates(*out, buffer, type, choice);
  write_supports(*out, buffer, type);
  write_properties(*out, buffer, type, nnode);
  write_loads(*out, ntype);
  out->finish();

  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    if (mesh::is_closed(buffer, ielem)) --buffer.nnoel[ielem];
  }
}

}  // namespace exchange
