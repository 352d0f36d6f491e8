// The fixed texts of the _gl.dat file (the input file of the solvora package), held as tables of
// lines by problem type and section.
//
// Only the mesh, the supports, the node count and the node list of element 1 come from the
// buffer; everything else in the file is sample data chosen by the problem type. Keeping that
// data here, line by line in file order, lets a reader compare the types side by side; the writer
// in gld.cpp only decides which table goes where.
#pragma once

#include <span>

namespace exchange::gld {

// Lines of text, each written followed by a line end.
using Lines = std::span<const char* const>;

// Separates two items of a load section (two edge loads, two loaded faces, ...). It is no line of
// the file: the writer skips it, and load case 2 stops at the first one.
inline constexpr char next_item_mark[] = "<next item>";
inline constexpr const char* next_item = next_item_mark;

// One load section: its title lines and its body.
//
// Load case 1 writes the whole body (column lines, which begin with '#', and data lines). Load
// case 2 writes the title and the column lines of the body's first item, then `second`: the data
// lines it keeps (the gravity line, the point and bar loads of frames and trusses).
struct LoadSection {
  Lines title;
  Lines body;
  Lines second = {};
  Lines second_title = {};  // title of load case 2 when it differs from `title`
};

// Number of count lines of a load case (nplod, ngrav, nedge, nface, nteme, nudis, ntral, nepoi,
// ntemb, nprva).
inline constexpr int load_counts = 10;

// The two sample load cases of one problem type.
struct LoadText {
  int first[load_counts];
  int second[load_counts];
  std::span<const LoadSection> sections;
};

// Element nodal properties: the lines after the section title, and the values of a node.
struct NodalProperties {
  Lines heading;
  std::span<const double> values;
};

// What the problem type decides, from the dialogue to the last load.
struct ProblemType {
  const char* menu;  // text of the problem-type menu
  int ndime;         // coordinates written per point
  int ndofn;         // degrees of freedom (fixity codes) per node
  int nspen;         // sets of element nodal properties, 0 or 1
  int npren;         // element nodal properties per node
  int nwink;         // element faces with Winkler coefficients
  std::span<const int> nnode_allowed;
  const char* nnode_refusal;    // warning when the node count is not allowed
  Lines coordinate_system;      // vectors of the specified coordinate system
  const char* spring_vector;    // components written after the spring vector index
  NodalProperties properties;   // when npren > 0
  const char* winkler_columns;  // when nwink > 0: column line of a face
  const char* winkler_values;   // and the coefficients written after each point number
  const LoadText* loads;
  int extra_blank;  // load case 1 writes one more blank line before this section; -1: none
};

// Problem types 1 to 9.
inline constexpr int ntype_count = 9;
extern const ProblemType problem_types[ntype_count];

// Comment of each main parameter line, in file order (the value comes first, "%5d ").
inline constexpr int main_parameter_count = 19;
extern const char* const main_parameter_comments[main_parameter_count];

// The coordinate-extraction menu of the two-dimensional types: the pair of coordinates written
// for each choice.
extern const char* const extraction_menu[3];
extern const int extraction_axes[3][2];

// Fixed sections between the supports and the load cases.
extern const Lines connectivity_heading[2];  // by nspen
extern const Lines coordinates_heading[2];   // ndime 2, 3
extern const Lines supports_heading;
extern const Lines coordinate_system_points_heading;
extern const Lines coordinate_system_heading;
extern const Lines springs_heading;
extern const Lines spring_vectors_heading;
extern const Lines materials;
extern const Lines nodal_properties_title;
extern const Lines winkler_heading;

// Load cases.
extern const char* const load_count_comments[load_counts];
extern const Lines load_case_heading[2];  // title comment and title line of load cases 1 and 2
extern const char* const load_case_separator;

}  // namespace exchange::gld
