#include "vmztool/commands.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <new>
#include <string_view>

#include "console/report.h"
#include "mesh/meshbuffer.h"
#include "vmztool/check.h"
#include "vmztool/export.h"
#include "vmztool/files.h"
#include "vmztool/import.h"
#include "vmztool/svg.h"

namespace vmztool {

namespace {

const char* const main_help =
    "Usage: vmztool COMMAND [ARGUMENTS]\n"
    "\n"
    "Looks at a trelmo mesh file (JOB.vmz), checks it for analysis and exchanges it\n"
    "with Gmsh, ParaView and CalculiX.\n"
    "\n"
    "Commands:\n"
    "  svg JOB [--view x|y|z|iso] [--numbers] [--quality] [-o FILE]\n"
    "      Draw JOB.vmz as an SVG picture (JOB.svg).\n"
    "  export JOB --to vtk|msh|inp [--type N] [-o FILE]\n"
    "      Write JOB.vmz as a legacy VTK file for ParaView (JOB.vtk), as a Gmsh\n"
    "      ASCII 2.2 mesh (JOB.msh) or as an Abaqus input file for CalculiX\n"
    "      (JOB.inp).\n"
    "  import FILE.msh|FILE.inp JOB\n"
    "      Read a Gmsh ASCII mesh of version 2.2 or 4.1, or an Abaqus input file,\n"
    "      into JOB.vmz.\n"
    "  check JOB [--worst N] [--json] [--tolerance T]\n"
    "      Report whether JOB.vmz is fit for analysis: element quality, inverted and\n"
    "      degenerate elements, coincident points that were never joined.\n"
    "\n"
    "'vmztool COMMAND --help' describes a command in full; 'vmztool --version'\n"
    "prints the version.\n"
    "\n"
    "Exit status: 0 done, 1 bad input (a missing or malformed file, a file that\n"
    "cannot be written; for check also an inverted or degenerate element), 2 bad\n"
    "usage.\n";

const char* const eight_node_help =
    "  --eight-node quad|brick\n"
    "                     read every 8-node element as a quadrilateral or as a brick;\n"
    "                     without it, a closed node list of 8 nodes (first node\n"
    "                     repeated) is a quadrilateral and an open one a brick\n";

const char* const svg_usage =
    "vmztool svg JOB [--view x|y|z|iso] [--numbers] [--quality] [--eight-node quad|brick]\n"
    "           [-o FILE]";
const char* const svg_help =
    "\n"
    "Draws the mesh of JOB.vmz as an SVG picture, scaled to fit, that any web\n"
    "browser shows: the element outlines (straight chords between the nodes of each\n"
    "outline, so that quadratic sides pass through their mid-side nodes), the points\n"
    "as dots and the special nodes circled in red.\n"
    "\n"
    "Options:\n"
    "  --view x|y|z|iso   the direction the mesh is seen from:\n"
    "                       x    the y-z plane, y to the right, z up\n"
    "                       y    the x-z plane, x to the right, z up\n"
    "                       z    the x-y plane, x to the right, y up\n"
    "                       iso  isometric, seen from (1, 1, 1), z up\n"
    "                     without it: along the axis in which the mesh is flat,\n"
    "                     isometric when it is flat in none\n"
    "  --numbers          write the element and the point numbers\n"
    "  --quality          fill each element with the colour of its scaled Jacobian\n"
    "                     (see 'vmztool check'), with a legend; inverted elements\n"
    "                     in a colour of their own\n";
const char* const svg_output_help = "  -o, --output FILE  the picture's file (default JOB.svg)\n";

const char* const export_usage =
    "vmztool export JOB --to vtk|msh|inp [--type N] [--eight-node quad|brick] [-o FILE]";
const char* const export_help =
    "\n"
    "Writes the mesh of JOB.vmz for another program:\n"
    "  --to vtk   a legacy VTK unstructured grid (ASCII) for ParaView, with the VTK\n"
    "             cell types 3, 21 (lines), 9, 23, 28 (quadrilaterals), 12, 25\n"
    "             (hexahedra), the trelmo element numbers as cell data \"element\",\n"
    "             and the special nodes as point data \"special_nodes\" (1 on a\n"
    "             special node, 0 elsewhere);\n"
    "  --to msh   a Gmsh mesh, ASCII version 2.2, with the Gmsh element types 1, 8\n"
    "             (lines), 3, 16, 10 (quadrangles), 5, 17 (hexahedra) numbered like\n"
    "             the trelmo elements, nodes numbered like the points, the special\n"
    "             nodes as 1-node points of the physical group \"special_nodes\",\n"
    "             and the two titles in a $TrelmoTitles section that other\n"
    "             programs skip;\n"
    "  --to inp   an Abaqus input file for CalculiX: the two titles under *HEADING,\n"
    "             the points as *NODE, one *ELEMENT block for each kind with the\n"
    "             trelmo element numbers and an element set named after the kind\n"
    "             (LINE2, LINE3, QUAD4, QUAD8, BRICK8, BRICK20), and the special\n"
    "             nodes as the node set SPECIAL.\n"
    "Node lists are converted to each format's node order; closed lists are written\n"
    "open. Elements with any other node list, and those that the CalculiX family\n"
    "has no element for, are left out, with a warning.\n"
    "\n"
    "Options:\n"
    "  --type N           with --to inp, the problem type of trelmo's solver input,\n"
    "                     which chooses the CalculiX elements:\n"
    "                       1  plane stress   CPS4, CPS8 (4-, 8-node quadrilaterals)\n"
    "                       2  plane strain   CPE4, CPE8\n"
    "                       3  axisymmetry    CAX4, CAX8\n"
    "                       4  solid          C3D8I, C3D20 (8-, 20-node bricks)\n"
    "                       6  shell          S4, S8\n"
    "                       7  frame          B31, B32 (2-, 3-node lines)\n"
    "                       8  truss          T3D2, T3D3\n"
    "                       9  plane shell    S4, S8\n"
    "                     without it: B31, B32 for lines, S4, S8 for quadrilaterals,\n"
    "                     C3D8I, C3D20 for bricks; CalculiX has no 9-node\n"
    "                     quadrilateral\n";
const char* const export_output_help =
    "  -o, --output FILE  the output file (default JOB.vtk, JOB.msh or JOB.inp)\n";

const char* const import_usage = "vmztool import FILE.msh|FILE.inp JOB";
const char* const import_help =
    "\n"
    "Reads a Gmsh mesh file (ASCII, version 2.2 or 4.1) and writes it as JOB.vmz.\n"
    "Elements of the Gmsh types 1, 8 (lines), 3, 16, 10 (quadrangles), 5 and 17\n"
    "(hexahedra) become trelmo elements, in trelmo's node order, quadrilaterals\n"
    "with closed node lists; the 1-node points of the physical group\n"
    "\"special_nodes\" become special nodes; other elements are skipped, with a\n"
    "warning that counts them. Every node is kept, used or not. Points and elements\n"
    "are numbered from 1 in the order of their Gmsh numbers. Coordinates keep 8\n"
    "decimals, as in every mesh file. The titles come from a $TrelmoTitles section\n"
    "(written by 'vmztool export'); without one the main title is the file's name.\n"
    "\n"
    "A FILE ending in .inp is read as an Abaqus input file: the nodes of *NODE, the\n"
    "elements of *ELEMENT of the types T3D2, T3D3, B31, B32 (lines), CPS4, CPE4,\n"
    "CAX4, S4, CPS8, CPE8, CAX8, S8 (quadrilaterals), C3D8, C3D20 (bricks) and\n"
    "their forms with the suffixes R, I and H, the node set SPECIAL as the special\n"
    "nodes, and the titles from the first two lines under *HEADING. Other elements\n"
    "are skipped, with a warning that counts them; other keywords are passed over.\n";

const char* const check_usage =
    "vmztool check JOB [--worst N] [--json] [--tolerance T] [--eight-node quad|brick]";
const char* const check_help =
    "\n"
    "Reports whether the mesh of JOB.vmz is fit for analysis:\n"
    "  - the elements by kind (2- and 3-node lines, 4-, 8- and 9-node\n"
    "    quadrilaterals, 8- and 20-node bricks) and those of other node counts;\n"
    "  - per kind, the smallest, median and largest scaled Jacobian, edge ratio and\n"
    "    (quadrilaterals) warpage, and a histogram of the scaled Jacobian in ten\n"
    "    bins from -1 to 1. Linear elements are measured as the Verdict library\n"
    "    (VTK's mesh-quality filter) measures them; for quadratic elements the\n"
    "    scaled Jacobian is the smallest over the largest determinant of the\n"
    "    Jacobian at the corners and the 3-point Gauss points;\n"
    "  - inverted elements: a brick whose Jacobian's determinant is zero or negative\n"
    "    at a corner (or, 20 nodes, at a Gauss point), a quadrilateral whose normal\n"
    "    turns over against the normal at its centre, a 3-node line whose middle\n"
    "    node lies outside the span of its ends;\n"
    "  - degenerate elements: a point repeated in the node list, or a side whose\n"
    "    ends lie within the tolerance of each other;\n"
    "  - coincident points that are not joined (distinct points within the\n"
    "    tolerance in every coordinate), unused points, and elements on the same\n"
    "    set of points;\n"
    "  - the worst elements by the scaled Jacobian, with their measures.\n"
    "Exit status 1 when an element is inverted or degenerate (or on bad input),\n"
    "0 otherwise, so that a script can use the check as a gate.\n"
    "\n"
    "Options:\n"
    "  --worst N          show the N worst elements, and at most N items of every\n"
    "                     list (default 10)\n"
    "  --json             print the report as one JSON document\n"
    "  --tolerance T      the distance within which points coincide (default\n"
    "                     1e-05, ren's default)\n";

struct Option {
  std::string_view name;  // long name, without "--"
  char letter;            // short name, 0 for none
  bool takes_value;
};

struct Parsed {
  bool help = false;
  std::vector<std::string> positional;
  std::map<std::string, std::string, std::less<>> values;  // flags hold ""
};

Parsed parse(const std::vector<std::string>& args, const std::vector<Option>& known) {
  Parsed parsed;
  for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      parsed.help = true;
      return parsed;
    }
  }
  auto find = [&](auto match) -> const Option* {
    for (const Option& option : known) {
      if (match(option)) return &option;
    }
    return nullptr;
  };
  bool options_end = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_end || arg.size() < 2 || arg[0] != '-') {
      parsed.positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_end = true;
      continue;
    }
    const Option* option = nullptr;
    std::string value;
    bool has_value = false;
    if (arg[1] == '-') {
      std::string_view body = std::string_view(arg).substr(2);
      std::size_t equals = body.find('=');
      std::string_view name = body.substr(0, equals);
      option = find([&](const Option& s) { return s.name == name; });
      if (option == nullptr) throw UsageError("unknown option '--" + std::string(name) + "'");
      if (equals != std::string_view::npos) {
        value = body.substr(equals + 1);
        has_value = true;
      }
    } else {
      option = find([&](const Option& s) { return s.letter == arg[1]; });
      if (option == nullptr) throw UsageError("unknown option '" + arg.substr(0, 2) + "'");
      if (arg.size() > 2) {
        value = arg.substr(2);
        has_value = true;
      }
    }
    std::string name(option->name);
    if (!option->takes_value && has_value) {
      throw UsageError("option --" + name + " takes no value");
    }
    if (option->takes_value && !has_value) {
      if (i + 1 == args.size()) throw UsageError("option --" + name + " needs a value");
      value = args[++i];
    }
    if (parsed.values.count(name) != 0) throw UsageError("option --" + name + " given twice");
    parsed.values[name] = value;
  }
  return parsed;
}

// The value of an option that takes one of a few words.
template <class T>
T choice(const Parsed& parsed, const std::string& option, T fallback,
         const std::vector<std::pair<std::string, T>>& choices) {
  auto it = parsed.values.find(option);
  if (it == parsed.values.end()) return fallback;
  std::string words;
  for (std::size_t k = 0; k < choices.size(); ++k) {
    if (choices[k].first == it->second) return choices[k].second;
    words += (k == 0 ? "" : k + 1 == choices.size() ? " or " : ", ") + choices[k].first;
  }
  throw UsageError("invalid value '" + it->second + "' for --" + option + " (use " + words + ")");
}

EightNodes eight_nodes(const Parsed& parsed) {
  return choice<EightNodes>(parsed, "eight-node", EightNodes::by_closure,
                            {{"quad", EightNodes::quad}, {"brick", EightNodes::brick}});
}

std::string output(const Parsed& parsed, const std::string& fallback) {
  auto it = parsed.values.find("output");
  if (it == parsed.values.end()) return fallback;
  if (it->second.empty()) throw UsageError("option --output needs a file name");
  return it->second;
}

void positional_count(const Parsed& parsed, std::size_t count, const char* missing) {
  if (parsed.positional.size() < count) throw UsageError(missing);
  if (parsed.positional.size() > count) {
    throw UsageError("unexpected argument '" + parsed.positional[count] + "'");
  }
}

std::string counts_text(int nelem, const char* elements, int npoin, int nspno) {
  return std::to_string(nelem) + " " + elements + (nelem == 1 ? "" : "s") + ", " +
         std::to_string(npoin) + (npoin == 1 ? " point, " : " points, ") + std::to_string(nspno) +
         (nspno == 1 ? " special node" : " special nodes");
}

int run_svg(const std::vector<std::string>& args) {
  Parsed parsed = parse(args, {{"view", 0, true},
                               {"numbers", 0, false},
                               {"quality", 0, false},
                               {"eight-node", 0, true},
                               {"output", 'o', true}});
  if (parsed.help) {
    console::outf("Usage: %s\n%s%s%s", svg_usage, svg_help, eight_node_help, svg_output_help);
    return 0;
  }
  positional_count(parsed, 1, "missing job name");
  SvgOptions options;
  options.view = choice<View>(parsed, "view", View::automatic,
                              {{"x", View::x}, {"y", View::y}, {"z", View::z}, {"iso", View::iso}});
  options.numbers = parsed.values.count("numbers") != 0;
  options.quality = parsed.values.count("quality") != 0;
  options.eight = eight_nodes(parsed);
  const std::string& job = parsed.positional[0];
  check_job(job);
  std::string path = output(parsed, job + ".svg");

  mesh::MeshBuffer buffer;
  mesh::Titles titles;
  read_job(job, buffer, titles);
  View view = View::automatic;
  write_file(path,
             [&](console::OutputFile& out) { view = write_svg(out, buffer, titles, options); });
  console::outf("Wrote %s (view %s): %s\n", path.c_str(), view_name(view),
                counts_text(buffer.nelem, "element", buffer.npoin, buffer.nspno).c_str());
  return 0;
}

int run_export(const std::vector<std::string>& args) {
  Parsed parsed = parse(
      args, {{"to", 0, true}, {"type", 0, true}, {"eight-node", 0, true}, {"output", 'o', true}});
  if (parsed.help) {
    console::outf("Usage: %s\n%s%s%s", export_usage, export_help, eight_node_help,
                  export_output_help);
    return 0;
  }
  positional_count(parsed, 1, "missing job name");
  if (parsed.values.count("to") == 0) throw UsageError("missing --to vtk, --to msh or --to inp");
  std::string to =
      choice<std::string>(parsed, "to", "", {{"vtk", "vtk"}, {"msh", "msh"}, {"inp", "inp"}});
  const InpFamily* family = inp_family(0);
  if (parsed.values.count("type") != 0) {
    if (to != "inp") throw UsageError("option --type needs --to inp");
    family = choice<const InpFamily*>(parsed, "type", nullptr,
                                      {{"1", inp_family(1)},
                                       {"2", inp_family(2)},
                                       {"3", inp_family(3)},
                                       {"4", inp_family(4)},
                                       {"6", inp_family(6)},
                                       {"7", inp_family(7)},
                                       {"8", inp_family(8)},
                                       {"9", inp_family(9)}});
  }
  EightNodes eight = eight_nodes(parsed);
  const std::string& job = parsed.positional[0];
  check_job(job);
  std::string path = output(parsed, job + "." + to);

  mesh::MeshBuffer buffer;
  mesh::Titles titles;
  read_job(job, buffer, titles);
  Cells cells = sort_cells(buffer, eight);
  std::string skipped =
      to == "inp" ? select_inp_cells(buffer, *family, cells) : skipped_message(buffer, cells);
  write_file(path, [&](console::OutputFile& out) {
    if (to == "vtk") {
      write_vtk(out, buffer, titles, cells);
    } else if (to == "msh") {
      write_msh(out, buffer, titles, cells);
    } else {
      write_inp(out, buffer, titles, *family, cells);
    }
  });
  if (!skipped.empty()) warn(skipped);
  console::outf("Wrote %s: %s\n", path.c_str(),
                counts_text(cells.count, "cell", buffer.npoin, buffer.nspno).c_str());
  return 0;
}

int run_import(const std::vector<std::string>& args) {
  Parsed parsed = parse(args, {});
  if (parsed.help) {
    console::outf("Usage: %s\n%s", import_usage, import_help);
    return 0;
  }
  positional_count(
      parsed, 2, parsed.positional.empty() ? "missing mesh file and job name" : "missing job name");
  const std::string& source = parsed.positional[0];
  const std::string& job = parsed.positional[1];
  check_job(job);
  std::string path = job + ".vmz";

  bool inp = source.size() > 4 && source.compare(source.size() - 4, 4, ".inp") == 0;
  ImportedMesh imported = inp ? read_inp(source) : read_msh(source);
  write_file(path, [&](console::OutputFile& out) { write_imported(out, imported); });
  if (!imported.skipped.empty()) warn(imported.skipped);
  console::outf("Wrote %s: %s\n", path.c_str(),
                counts_text(imported.nelem(), "element", imported.npoin(),
                            static_cast<int>(imported.special.size()))
                    .c_str());
  return 0;
}

int run_check(const std::vector<std::string>& args) {
  Parsed parsed = parse(
      args,
      {{"worst", 0, true}, {"json", 0, false}, {"tolerance", 0, true}, {"eight-node", 0, true}});
  if (parsed.help) {
    console::outf("Usage: %s\n%s%s", check_usage, check_help, eight_node_help);
    return 0;
  }
  positional_count(parsed, 1, "missing job name");
  CheckOptions options;
  options.json = parsed.values.count("json") != 0;
  options.eight = eight_nodes(parsed);
  auto number = [&](const char* name, const char* rule, auto accept) {
    const std::string& text = parsed.values.at(name);
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !accept(value)) {
      throw UsageError("invalid value '" + text + "' for --" + name + " (use " + rule + ")");
    }
    return value;
  };
  if (parsed.values.count("worst") != 0) {
    options.worst = static_cast<int>(number("worst", "a whole number of 0 or more", [](double v) {
      return v >= 0 && v <= 2147483647 && v == std::floor(v);
    }));
  }
  if (parsed.values.count("tolerance") != 0) {
    options.tolerance = number("tolerance", "a number of 0 or more",
                               [](double v) { return v >= 0 && std::isfinite(v); });
  }
  const std::string& job = parsed.positional[0];
  check_job(job);

  mesh::MeshBuffer buffer;
  mesh::Titles titles;
  read_job(job, buffer, titles);
  return check_mesh(job + ".vmz", buffer, options) ? 0 : 1;
}

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>&);
};
const Command commands[] = {
    {"svg", run_svg}, {"export", run_export}, {"import", run_import}, {"check", run_check}};

}  // namespace

int run(const std::vector<std::string>& args) {
  std::string hint = "vmztool --help";
  try {
    if (args.empty()) throw UsageError("missing command (svg, export, import or check)");
    const std::string& word = args[0];
    if (word == "--help" || word == "-h" || word == "help") {
      if (word == "help" && args.size() > 1) return run({args[1], "--help"});
      console::outf("%s", main_help);
      return 0;
    }
    if (word == "--version") {
      console::outf("vmztool %s\n", TRELMO_VERSION);
      return 0;
    }
    for (const Command& command : commands) {
      if (word == command.name) {
        hint = std::string("vmztool ") + command.name + " --help";
        return command.run(std::vector<std::string>(args.begin() + 1, args.end()));
      }
    }
    if (!word.empty() && word[0] == '-') throw UsageError("unknown option '" + word + "'");
    throw UsageError("unknown command '" + word + "' (use svg, export, import or check)");
  } catch (const UsageError& error) {
    console::errf("%s: %s\nTry '%s'.\n", program, error.what(), hint.c_str());
    return 2;
  } catch (const console::FatalError& error) {
    console::errf("%s: %s\n", program, error.what());
    return 1;
  } catch (const std::bad_alloc&) {
    console::errf("%s: Memory allocation failed\n", program);
    return 1;
  }
}

}  // namespace vmztool
