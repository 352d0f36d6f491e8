#include "exchange/gld_text.h"

namespace exchange::gld {

namespace {

// The tables are laid out one line of text per source line.
// clang-format off

// An empty string is a blank line.

// ---------------------------------------------------------------------------------------------
// Main parameters, mesh and supports
// ---------------------------------------------------------------------------------------------

constexpr const char* connectivity_without_properties[] = {
    "",
    "### Material properties index and",
    "### list of the nodes of each element",
    "# ielem matno        lnods ...",
};
constexpr const char* connectivity_with_properties[] = {
    "",
    "### Material properties index, element nodal properties index and",
    "### list of the nodes of each element",
    "# ielem matno ielnp        lnods ...",
};

constexpr const char* coordinates_2d[] = {
    "",
    "### Coordinates of the points",
    "# ipoin          coord-x1         coord-x2",
};
constexpr const char* coordinates_3d[] = {
    "",
    "### Coordinates of the points",
    "# ipoin          coord-x1         coord-x2         coord-x3",
};

constexpr const char* supports[] = {
    "",
    "### Points with fixed degrees of freedom and fixity codes (1-fixed;0-free)",
    "# ivfix nofix     ifpre ...",
};

// ---------------------------------------------------------------------------------------------
// Coordinate systems, springs, materials, element nodal properties, Winkler faces
// ---------------------------------------------------------------------------------------------

constexpr const char* coordinate_system_points[] = {
    "",
    "### Points with specified coordinate system",
    "### (index, point number and type of coordinate system)",
    "# ipscs   nospe   itycs",
};

constexpr const char* coordinate_system[] = {
    "",
    "### Specified coordinate system index",
    "### Coordinate system vector index and",
    "### vector components in the global coordinate system",
    "# isscs",
};

constexpr const char* unit_vectors_2d[] = {
    "      1   1.000000000000   0.000000000000",
    "      2   0.000000000000   1.000000000000",
};
constexpr const char* unit_vectors_3d[] = {
    "      1   1.000000000000   0.000000000000   0.000000000000",
    "      2   0.000000000000   1.000000000000   0.000000000000",
    "      3   0.000000000000   0.000000000000   1.000000000000",
};

constexpr const char* springs[] = {
    "",
    "### Spring index, point number, type of spring vector, spring constant value and",
    "### flag to distinguish between translational rigidity (t) and rotational rigidity (r)",
    "# ipspr   nsprp   ityvs            sprva   trrig",
};

constexpr const char* spring_vectors[] = {
    "",
    "### Spring vector index",
    "### Components of the spring vector in the global coordinate system",
    "# isspv   cgspv ...",
};
constexpr const char spring_vector_2d[] = "          0.7071068        0.7071068";
constexpr const char spring_vector_3d[] = "          0.5773503        0.5773503        0.5773503";

constexpr const char* material_properties[] = {
    "",
    "### Sets of material properties",
    "### (Young modulus, Poisson ratio, mass per unit volume and thermic coeff.)",
    "# imats     young   poiss    dense    alpha",
    "      1   20000.0    0.15  2500e-6   1.0e-5",
    "",
};

constexpr const char* nodal_properties[] = {
    "",
    "### Sets of element nodal properties",
};

constexpr const char* frame_properties[] = {
    "### (Cross section area, tortional and flexural inertia and",
    "### local coordinate system definition angle in degrees)",
    "# ispen",
    "      1",
    "# inode        barea      binet      bin2l      bin3l  bangl(deg)",
};
constexpr double frame_values[] = {0.45, 0.05, 0.030375, 0.009375, 0.0};

constexpr const char* truss_properties[] = {
    "### (Cross section area)",
    "# ispen",
    "      1",
    "# inode        barea",
};
constexpr double truss_values[] = {0.45};

constexpr const char* thickness_properties[] = {
    "# ispen",
    "      1",
    "# inode    thickness",
};
constexpr double thickness_values[] = {0.25};

constexpr const char* winkler[] = {
    "",
    "### Face index, element number,",
    "### points of element face and Winkler coefficients",
};
constexpr const char winkler_three_columns[] =
    "# lpowi         winco_s1         winco_s2         winco_s3";
constexpr const char winkler_three_values[] = "        100000.0         50000.0          20000.0";
constexpr const char winkler_one_column[] = "# lpowi         winco_s3";
constexpr const char winkler_one_value[] = "        100000.0";

// ---------------------------------------------------------------------------------------------
// Load case skeleton and section titles (shared by all types)
// ---------------------------------------------------------------------------------------------

constexpr const char* first_load_case[] = {
    "",
    "### Title of the first load case",
    "Load case title (1)",
    "",
    "### Load parameters",
};
constexpr const char* second_load_case[] = {
    "",
    "### Title of the second load case",
    "Load case title (2)",
    "",
    "### Load parameters",
};

constexpr const char* point_title[] = {
    "### Point loads in nodal points (loaded point and load value)",
    "### (global coordinate system)",
};
constexpr const char* gravity_title[] = {
    "### Gravity load (gravity acceleration)",
    "### (global coordinate system)",
};
constexpr const char* edge_title[] = {
    "### Edge load (loaded element, loaded points and load value)",
    "### (local coordinate system)",
};
constexpr const char* edge_faces_title[] = {
    "### Edge load",
    "### (loaded element, loaded points, load value and edge load adjacent faces)",
    "### (local coordinate system)",
};
constexpr const char* face_title[] = {
    "### Face load (loaded element, loaded points and load value)",
    "### (local coordinate system)",
};
constexpr const char* element_temperature_title[] = {
    "### Thermal load (loaded element, loaded nodes",
    "### and uniform temperature variation)",
};
constexpr const char* element_temperature_differential_title[] = {
    "### Thermal load (loaded element, loaded nodes,",
    "### uniform and differential temperature variation)",
};
constexpr const char* uniform_bar_title[] = {
    "### Uniformly distributed load in 3d frame or truss elements (loaded element",
    "### and load value) (local coordinate system)",
};
constexpr const char* trapezoidal_bar_title[] = {
    "### Trapezoidal distributed load in 3d frame or truss elements (loaded bar",
    "### and load value at left and right bar extrimity) (local coordinate system)",
};
constexpr const char* bar_point_title[] = {
    "### Bar point load in 3d frame or truss elements (loaded element, distance",
    "### to the left end and load value) (global coordinate system)",
};
constexpr const char* element_point_title[] = {
    "### Element point load in 3d frame or truss elements (loaded element, distance",
    "### to the left end and load value) (global coordinate system)",
};
constexpr const char* bar_temperature_differential_title[] = {
    "### Thermal load (loaded bar, uniform temperature variation,",
    "### l2 differential temperature variation, l2 cross section thickness,",
    "### l3 differential temperature variation and l3 cross section thickness)",
};
constexpr const char* bar_temperature_title[] = {
    "### Thermal load (loaded bar, uniform temperature variation)",
};
constexpr const char* prescribed_title[] = {
    "### Prescribed variables (point, degree of freedom and prescribed value)",
    "### (global coordinate system)",
};

// ---------------------------------------------------------------------------------------------
// Types 1, 2 and 3: plane stress, plane strain, axisymmetry
// ---------------------------------------------------------------------------------------------

namespace plane {
constexpr const char* point[] = {
    "# iplod  lopop    pload-fx1  pload-fx2",
    "      1     11          0.0       -6.0",
    "      2      8          3.0       -2.0",
};
constexpr const char* gravity[] = {
    "# gravi-tx1  gravi-tx2",
    "        1.5       -9.8",
};
constexpr const char* gravity2[] = {"        0.0       -9.8"};
constexpr const char* edge[] = {
    "# iedge  loele",
    "      1      2",
    "# lopoe     fe1    fe2",
    "     11     0.0    2.5",
    "     12     0.0    2.5",
    "     13     0.0    2.5",
    next_item,
    "# iedge  loele",
    "      2      2",
    "# lopoe     fe1    fe2",
    "     13     1.0    2.0",
    "     10     2.0    3.0",
    "      8     3.0    4.0",
};
constexpr const char* face[] = {
    "# iface   loelf",
    "      1       1",
    "# lopof   fs1   fs2",
    "      1   1.0   1.0",
    "      4   1.0   1.0",
    "      6   1.0   1.0",
    "      7   1.0   1.0",
    "      8   1.0   1.0",
    "      5   1.0   1.0",
    "      3   1.0   1.0",
    "      2   1.0   1.0",
    next_item,
    "# iface   loelf",
    "      2       2",
    "# lopof   fs1   fs2",
    "      6   1.0   1.0",
    "      9   1.0   1.0",
    "     11   1.0   1.0",
    "     12   1.0   1.0",
    "     13   1.0   1.0",
    "     10   1.0   1.0",
    "      8   1.0   1.0",
    "      7   1.0   1.0",
};
constexpr const char* temperature[] = {
    "# iteme   loelt",
    "      1       2",
    "# inode         teuni",
    "      1           0.0",
    "      2         -10.0",
    "      3          20.0",
    "      4           0.0",
    "      5           0.0",
    "      6           0.0",
    "      7           0.0",
    "      8           0.0",
};
constexpr const char* prescribed[] = {
    "# iprva  nnodp  ndofp    prval",
    "      1      8      2     0.02",
    "      2      1      1    -0.01",
};
constexpr LoadSection sections[] = {
    {point_title, point},
    {gravity_title, gravity, gravity2},
    {edge_title, edge},
    {face_title, face},
    {element_temperature_title, temperature},
    {prescribed_title, prescribed},
};
}  // namespace plane

// ---------------------------------------------------------------------------------------------
// Type 4: solid
// ---------------------------------------------------------------------------------------------

namespace solid {
constexpr const char* point[] = {
    "# iplod  lopop    pload-fx1  pload-fx2  pload-fx3",
    "      1     25          0.0        0.0       -0.1",
    "      2     26          0.0        0.0       -0.4",
};
constexpr const char* gravity[] = {
    "# gravi-tx1  gravi-tx2  gravi-tx3",
    "        1.0        0.0       -9.8",
};
constexpr const char* gravity2[] = {"        0.0        0.0       -9.8"};
constexpr const char* edge[] = {
    "# iedge   loele",
    "      1       2",
    "# lopoe     fe1    fenA   fenB",
    "     25     1.0     2.0   -2.5",
    "     16     1.0     2.0   -2.5",
    "      6     1.0     2.0   -2.5",
    "# lopon",
    "     25  16   6   7   8  17  27  26",
    "     25  16   6   9  11  18  30  28",
    next_item,
    "# iedge   loele",
    "      2       1",
    "# lopoe     fe1    fenA   fenB",
    "     20     1.0     2.0   -2.5",
    "     23     2.0     4.0   -1.8",
    "     25     1.0     2.0   -2.5",
    "# lopon",
    "     20  23  25  26  27  24  22  21",
    "     20  23  25  16   6   4   1  14",
};
constexpr const char* face[] = {
    "# iface   loelf",
    "      1       2",
    "# lopof   fs1A   fs2A    fnA",
    "     30    1.0    1.0    1.0",
    "     31    1.0    1.0    1.0",
    "     32    1.0    2.0    1.0",
    "     29   -1.0    1.0    1.0",
    "     27    0.0    5.0    1.0",
    "     26    1.0    1.0    1.0",
    "     25    1.0    1.0    1.0",
    "     28    1.0   -1.0    1.0",
    next_item,
    "# iface   loelf",
    "      2       1",
    "# lopof   fs1A   fs2A    fnA",
    "      3    1.0    1.0    1.0",
    "      5    1.0    1.0    1.0",
    "      8    1.0    2.0    1.0",
    "     17    1.0    1.0    1.0",
    "     27    1.0    5.0    1.0",
    "     24    1.0    1.0    1.0",
    "     22    1.0    1.0    1.0",
    "     15    1.0   -1.0    1.0",
};
constexpr const char* temperature[] = {
    "# iteme   loelt",
    "      1       1",
    "# inode         teuni",
    "      1           0.0",
    "      2           0.0",
    "      3           0.0",
    "      4           0.0",
    "      5           0.0",
    "      6           0.0",
    "      7           0.0",
    "      8           0.0",
    "      9           0.0",
    "     10           0.0",
    "     11           0.0",
    "     12           0.0",
    "     13           0.0",
    "     14           0.0",
    "     15           0.0",
    "     16           0.0",
    "     17           0.0",
    "     18           0.0",
    "     19         -20.0",
    "     20           0.0",
    next_item,
    "# iteme   loelt",
    "      2       2",
    "# inode         teuni",
    "      1           0.0",
    "      2           0.0",
    "      3           0.0",
    "      4           0.0",
    "      5           0.0",
    "      6           0.0",
    "      7           0.0",
    "      8           0.0",
    "      9           0.0",
    "     10           0.0",
    "     11           0.0",
    "     12           0.0",
    "     13         -20.0",
    "     14           0.0",
    "     15           0.0",
    "     16           0.0",
    "     17          10.0",
    "     18           0.0",
    "     19           0.0",
    "     20           0.0",
};
constexpr const char* prescribed[] = {
    "# iprva    nnodp    ndofp     prval",
    "      1       26        2      -0.1",
    "      2       25        1       0.2",
};
constexpr LoadSection sections[] = {
    {point_title, point},
    {gravity_title, gravity, gravity2},
    {edge_faces_title, edge},
    {face_title, face},
    {element_temperature_title, temperature},
    {prescribed_title, prescribed},
};
}  // namespace solid

// ---------------------------------------------------------------------------------------------
// Type 5: slab (Mindlin)
// ---------------------------------------------------------------------------------------------

namespace slab {
constexpr const char* point[] = {
    "# iplod  lopop     pload-fx3  pload-mx1  mload-mx2",
    "      1      6          -0.1        0.3        0.0",
    "      2      7          -0.4        0.0        0.4",
};
constexpr const char* gravity[] = {
    "# gravi-tx3  gravi-rx1  gravi-rx2",
    "       -9.8        0.0        0.0",
};
constexpr const char* gravity2[] = {"       -9.8        0.0        0.0"};
constexpr const char* edge[] = {
    "# iedge   loele",
    "      1      2",
    "# lopoe     fe1   me2   me3",
    "     11     0.1   2.5   2.5",
    "     12     0.3   2.5   3.9",
    "     13     0.2   2.5   3.9",
    next_item,
    "# iedge  loele",
    "      2      2",
    "# lopoe     fe1   me2   me3",
    "     13    1.0   2.0   3.9",
    "     10    2.0   3.0   3.9",
    "      8    3.0   4.0   3.9",
};
constexpr const char* face[] = {
    "# iface   loelf",
    "      1       1",
    "# lopof    fs3   ms1   ms2",
    "      1    1.0   1.0   3.9",
    "      4    1.0   1.0   3.9",
    "      6    1.0   1.0   3.9",
    "      7    1.0   1.0   3.9",
    "      8    1.0   1.0   3.9",
    "      5    1.0   1.0   3.9",
    "      3    1.0   1.0   3.9",
    "      2    1.0   1.0   3.9",
    next_item,
    "# iface   loelf",
    "      2       2",
    "# lopof    fs3   ms1   ms2",
    "      6    1.0   1.0   3.9",
    "      9    1.0   1.0   3.9",
    "     11    1.0   1.0   3.9",
    "     12    1.0   1.0   3.9",
    "     13    1.0   1.0   3.9",
    "     10    1.0   1.0   3.9",
    "      8    1.0   1.0   3.9",
    "      7    1.0   1.0   3.9",
};
// No element with a temperature variation (nteme 0): the column lines alone.
constexpr const char* temperature[] = {
    "# iteme   loelt",
    "# inode         teuni         tedif",
};
constexpr const char* prescribed[] = {
    "# iprva  nnodp  ndofp    prval",
    "      1     13      1     0.02",
    "      2     11      1    -0.01",
};
constexpr LoadSection sections[] = {
    {point_title, point},
    {gravity_title, gravity, gravity2},
    {edge_title, edge},
    {face_title, face},
    {element_temperature_differential_title, temperature},
    {prescribed_title, prescribed},
};
}  // namespace slab

// ---------------------------------------------------------------------------------------------
// Type 6: shell (Ahmad)
// ---------------------------------------------------------------------------------------------

namespace ahmad_shell {
constexpr const char* point[] = {
    "# iplod  lopop  pload-fx1  pload-fx2  pload-fx3  pload-mx1  pload-mx2  pload-mx3",
    "      1     12        0.0        0.0       -0.1        0.0        0.0        0.0",
    "      2      6        0.4        0.0       -0.4        0.4        0.8        3.0",
};
constexpr const char* gravity[] = {
    "# gravi-tx1  gravi-tx2  gravi-tx3     gravi-rx1  gravi-rx2  gravi-rx3",
    "        2.0        1.0       -9.8           0.0        0.0        0.0",
};
constexpr const char* gravity2[] = {
    "        2.0        1.0       -9.8           0.0        0.0        0.0",
};
constexpr const char* edge[] = {
    "# iedge  loele",
    "      1      2",
    "# lopoe     fe1   fe2   fe3   me1   me2  ignored",
    "     13     0.0   2.5   3.2   3.2     0      0.0",
    "     12     0.0   2.5   3.2   3.2     0      0.0",
    "     11     0.0   2.5   3.2   3.2     0      0.0",
    next_item,
    "# iedge  loele",
    "      2      2",
    "# lopoe     fe1   fe2   fe3   me1   me2  ignored",
    "     13     1.0   2.0   3.2     0     0      0.0",
    "     10     2.0   3.0   0.2     0     0      0.0",
    "      8     3.0   4.0   3.2     0     0      0.0",
};
constexpr const char* face[] = {
    "# iface   loelf",
    "      1       1",
    "# lopof   fs1   fs2    fn   ms1   ms2  ignored",
    "      1   1.0   1.0   3.7   3.7   3.7      0.0",
    "      4   1.0   1.0   3.7   3.7   3.7      0.0",
    "      6   1.0   1.0   3.7   3.7   3.7      0.0",
    "      7   1.0   1.0   3.7   3.7   3.7      0.0",
    "      8   1.0   1.0   3.7   3.7   3.7      0.0",
    "      5   1.0   1.0   3.7   3.7   3.7      0.0",
    "      3   1.0   1.0   3.7   3.7   3.7      0.0",
    "      2   1.0   1.0   3.7   3.7   3.7      0.0",
    next_item,
    "# iface   loelf",
    "      2       2",
    "# lopof   fs1   fs2    fn   ms1   ms2  ignored",
    "     13   1.0   1.0   3.7   3.7   3.7      0.0",
    "     12   1.0   1.0   3.7   3.7   3.7      0.0",
    "     11   1.0   1.0   3.7   3.7   3.7      0.0",
    "      9   1.0   1.0   5.0   3.7   3.7      0.0",
    "      6   4.0   1.0   3.7  -3.7   3.7      0.0",
    "      7   1.0   1.0   3.7   3.7   3.7      0.0",
    "      8   1.2   1.0   3.7   3.7   3.7      0.0",
    "     10  -1.0   1.0   3.7   3.7   3.7      0.0",
};
constexpr const char* temperature[] = {
    "# iteme   loelt",
    "      1       2",
    "# inode         teuni         tedif",
    "      1           0.0           0.0",
    "      2           0.0           0.0",
    "      3           0.0           0.0",
    "      4           0.0           0.0",
    "      5           0.0           0.0",
    "      6           0.0           0.0",
    "      7          20.0           0.0",
    "      8         -10.0           0.0",
};
constexpr const char* prescribed[] = {
    "# iprva  nnodp  ndofp    prval",
    "      1      7      2     0.02",
    "      2      6      1    -0.01",
};
constexpr LoadSection sections[] = {
    {point_title, point},
    {gravity_title, gravity, gravity2},
    {edge_title, edge},
    {face_title, face},
    {element_temperature_differential_title, temperature},
    {prescribed_title, prescribed},
};
}  // namespace ahmad_shell

// ---------------------------------------------------------------------------------------------
// Types 7 and 8: frame and truss
// ---------------------------------------------------------------------------------------------

// Both keep two prescribed variables in load case 2.
constexpr const char* bar_prescribed[] = {
    "# iprva    nnodp    ndofp     prval",
    "      1        5        2      0.02",
    "      2        1        3     -0.01",
};
constexpr const char* bar_prescribed2[] = {
    "      1        5        2      0.04",
    "      2        1        3     -0.08",
};

// The data lines of a section body, without its column line (load case 2 repeats them).
constexpr Lines data_lines(Lines body) { return body.subspan(1); }

namespace frame {
constexpr const char* point[] = {
    "# iplod    lopop    pload-fx1 pload-fx2 pload-fx3  pload-mx1 pload-mx2 pload-mx3",
    "      1        4          0.0      -6.0       0.0        0.0       0.0       0.0",
    "      2        3          3.0      -2.0       0.0        0.0       0.0       0.0",
};
constexpr const char* point2[] = {
    "      1        4          0.0      -6.0       0.0        5.0       9.0       2.0",
    "      2        3          3.0      -2.0       0.0        4.0       3.0      -1.0",
};
constexpr const char* gravity[] = {
    "# gravi-tx1  gravi-tx2  gravi-tx3     gravi-rx1  gravi-rx2  gravi-rx3",
    "        0.0        0.0       -9.8           0.0        0.0        0.0",
};
constexpr const char* gravity2[] = {
    "       -1.0       -1.0       -1.0           0.0        0.0        0.0",
};
constexpr const char* uniform[] = {
    "# iudis    loelu    udisl-fl1 udisl-fl2 udisl-fl3  udisl-ml1 udisl-ml2 udisl-ml3",
    "      1        4          0.0      -6.0       0.0        2.0       1.0       0.0",
    "      2        3          3.0      -2.0       0.0        0.0       0.0      -2.0",
};
constexpr const char* trapezoidal[] = {
    "# itral lotra travl-fl1 travl-fl2 travl-fl3 travl-ml1 travl-ml2 travl-ml3",
    "#             travr-fl1 travr-fl2 travr-fl3 travr-ml1 travr-ml2 travr-ml3",
    "      1     2      10.0     -60.0      20.0      -5.0       8.0      -9.0",
    "                   10.0      50.0      30.0       7.0      -3.0       8.0",
    "      2     3      10.0      60.0      20.0       0.0       0.0       0.0",
    "                   10.0      60.0      20.0       0.0       0.0       0.0",
};
constexpr const char* bar_point[] = {
    "# iepoi loelp xepoi  epoil-fx1 epoil-fx2 epoil-fx3 epoil-mx1 epoil-mx2 epoil-mx3",
    "      1     4   2.5        0.0      -6.0       0.0       2.0       1.0       0.0",
    "      2     3   1.8        3.0      -2.0       0.0       0.0       0.0      -2.0",
};
constexpr const char* temperature[] = {
    "# itemb    lobat     teuni    tedif_l2    secth_l2    tedif_l3    secth_l3",
    "      1        1      10.0        20.0         0.5       -15.0         0.4",
    "      2        2      10.0        20.0         0.5       -15.0         0.4",
    "      3        3      10.0        20.0         0.5       -15.0         0.4",
    "      4        4      10.0        20.0         0.5       -15.0         0.4",
};
constexpr LoadSection sections[] = {
    {point_title, point, point2},
    {gravity_title, gravity, gravity2},
    {uniform_bar_title, uniform, data_lines(uniform)},
    {trapezoidal_bar_title, trapezoidal},
    {bar_point_title, bar_point, data_lines(bar_point)},
    {bar_temperature_differential_title, temperature},
    {prescribed_title, bar_prescribed, bar_prescribed2},
};
}  // namespace frame

namespace truss {
constexpr const char* point[] = {
    "# iplod    lopop      pload-fx1 pload-fx2 pload-fx3",
    "      1        4            0.0      -6.0       0.0",
    "      2        3            3.0      -2.0       0.0",
};
constexpr const char* gravity[] = {
    "# gravi-tx1  gravi-tx2  gravi-tx3",
    "        0.0        0.0       -9.8",
};
constexpr const char* gravity2[] = {"       -1.0       -1.0       -1.0"};
constexpr const char* uniform[] = {
    "# iudis    loelu      udisl-fl1 udisl-fl2 udisl-fl3",
    "      1        4            0.0      -6.0       0.0",
    "      2        3            3.0      -2.0       0.0",
};
constexpr const char* trapezoidal[] = {
    "# itral lotra travl-fl1 travl-fl2 travl-fl3 travr-fl1 travr-fl2 travr-fl3",
    "      1     2      10.0     -60.0      20.0      10.0      50.0      30.0",
    "      2     3      10.0      60.0      20.0      10.0      60.0      20.0",
};
constexpr const char* bar_point[] = {
    "# iepoi loelp xepoi   epoil-fx1 epoil-fx2 epoil-fx3",
    "      1     4   2.5         0.0      -6.0       0.0",
    "      2     3   1.8         3.0      -2.0       0.0",
};
constexpr const char* temperature[] = {
    "### itemb    lobat     teuni",
    "        1        1      10.0",
    "        2        2      10.0",
    "        3        3      10.0",
    "        4        4      10.0",
    "        5        5      10.0",
    "        6        6      10.0",
};
constexpr LoadSection sections[] = {
    {point_title, point, data_lines(point)},
    {gravity_title, gravity, gravity2},
    {uniform_bar_title, uniform, data_lines(uniform)},
    {trapezoidal_bar_title, trapezoidal},
    {bar_point_title, bar_point, data_lines(bar_point), element_point_title},
    {bar_temperature_title, temperature},
    {prescribed_title, bar_prescribed, bar_prescribed2},
};
}  // namespace truss

// ---------------------------------------------------------------------------------------------
// Type 9: plane shell (Mindlin)
// ---------------------------------------------------------------------------------------------

namespace plane_shell {
constexpr const char* point[] = {
    "# iplod  lopop    pload-fx1  pload-fx2  pload-fx3   pload-mx1  pload-mx2",
    "      1      4          0.0        0.0       -0.5         0.1        0.2",
    "      2      9          0.0        0.0       -0.5         0.1       -0.2",
    "      3      5          0.0        0.0       -0.5        -0.1        0.2",
    "      4     10          0.0        0.0       -0.5        -0.1       -0.2",
    "      5      6          0.0       -0.6        0.0         0.0        0.0",
    "      6      8          0.0        0.6        0.0         0.0        0.0",
    "      7      2          0.2        0.0        0.0         0.0        0.0",
    "      8     12         -0.2        0.0        0.0         0.0        0.0",
};
constexpr const char* gravity[] = {
    "# gravi-tx1  gravi-tx2  gravi-tx3     gravi-rx1  gravi-rx2",
    "        0.0        0.0       -9.8           0.0        0.0",
};
constexpr const char* gravity2[] = {
    "        0.0        0.0       -9.8           0.0        0.0",
};
constexpr const char* edge[] = {
    "# iedge  loele",
    "      1      2",
    "# lopoe     fe1   fe2   fe3   me1   me2",
    "     11     1.0   2.5   0.0  -3.2   0.0",
    "     12     1.0   2.5   0.0  -3.2   0.0",
    "     13     1.0   2.5   0.0  -3.2   0.0",
    next_item,
    "# iedge  loele",
    "      2      1",
    "# lopoe     fe1   fe2   fe3   me1   me2",
    "      1     1.0  -2.5   0.0   3.2   0.0",
    "      2     1.0  -2.5   0.0   3.2   0.0",
    "      3     1.0  -2.5   0.0   3.2   0.0",
};
constexpr const char* face[] = {
    "# iface   loelf",
    "      1       1",
    "# lopof   fs1   fs2    fn   ms1   ms2",
    "      1   0.0   0.0   3.7   0.0   0.0",
    "      4   0.0   0.0   3.7   0.0   0.0",
    "      6   0.0   0.0   3.7   0.0   0.0",
    "      7   0.0   0.0   3.7   0.0   0.0",
    "      8   0.0   0.0   3.7   0.0   0.0",
    "      5   0.0   0.0   3.7   0.0   0.0",
    "      3   0.0   0.0   3.7   0.0   0.0",
    "      2   0.0   0.0   3.7   0.0   0.0",
    next_item,
    "# iface   loelf",
    "      2       2",
    "# lopof   fs1   fs2    fn   ms1   ms2",
    "      6   0.0   0.0   3.7   0.0   0.0",
    "      9   0.0   0.0   3.7   0.0   0.0",
    "     11   0.0   0.0   3.7   0.0   0.0",
    "     12   0.0   0.0   3.7   0.0   0.0",
    "     13   0.0   0.0   3.7   0.0   0.0",
    "     10   0.0   0.0   3.7   0.0   0.0",
    "      8   0.0   0.0   3.7   0.0   0.0",
    "      7   0.0   0.0   3.7   0.0   0.0",
};
constexpr const char* temperature[] = {
    "# iteme   loelt",
    "      1       1",
    "# inode         teuni         tedif",
    "      1           0.0           0.0",
    "      2          20.0           0.0",
    "      3           0.0           0.0",
    "      4           0.0           0.0",
    "      5           0.0           0.0",
    "      6          20.0           0.0",
    "      7           0.0           0.0",
    "      8           0.0           0.0",
    next_item,
    "# iteme   loelt",
    "      2       2",
    "# inode         teuni         tedif",
    "      1           0.0           0.0",
    "      2          20.0           0.0",
    "      3           0.0           0.0",
    "      4           0.0           0.0",
    "      5           0.0           0.0",
    "      6          20.0           0.0",
    "      7           0.0           0.0",
    "      8           0.0           0.0",
};
constexpr const char* prescribed[] = {
    "# iprva  nnodp  ndofp    prval",
    "      1      2      3    -0.02",
    "      2     12      3    -0.02",
};
constexpr LoadSection sections[] = {
    {point_title, point},
    {gravity_title, gravity, gravity2},
    {edge_title, edge},
    {face_title, face},
    {element_temperature_differential_title, temperature},
    {prescribed_title, prescribed},
};
}  // namespace plane_shell

// Sections of types 1 to 6 and 9, and of types 7 and 8, by position (for extra_blank).
constexpr int point_loads = 0;
constexpr int element_temperatures = 4;
constexpr int prescribed_variables = 5;

// Counts: nplod ngrav nedge nface nteme nudis ntral nepoi ntemb nprva.
constexpr LoadText plane_loads = {
    {2, 1, 2, 2, 1, 0, 0, 0, 0, 2}, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0}, plane::sections};
constexpr LoadText solid_loads = {
    {2, 1, 2, 2, 2, 0, 0, 0, 0, 2}, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0}, solid::sections};
constexpr LoadText slab_loads = {
    {2, 1, 2, 2, 0, 0, 0, 0, 0, 2}, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0}, slab::sections};
constexpr LoadText shell_loads = {
    {2, 1, 2, 2, 1, 0, 0, 0, 0, 2}, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0}, ahmad_shell::sections};
constexpr LoadText frame_loads = {
    {2, 1, 0, 0, 0, 2, 2, 2, 4, 2}, {2, 1, 0, 0, 0, 2, 0, 2, 0, 2}, frame::sections};
constexpr LoadText truss_loads = {
    {2, 1, 0, 0, 0, 2, 2, 2, 6, 2}, {2, 1, 0, 0, 0, 2, 0, 2, 0, 2}, truss::sections};
constexpr LoadText plane_shell_loads = {
    {8, 1, 2, 2, 2, 0, 0, 0, 0, 2}, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0}, plane_shell::sections};

constexpr int surface_nodes[] = {4, 8, 9};
constexpr int brick_nodes[] = {8, 20};
constexpr int bar_nodes[] = {2};
constexpr const char surface_refusal[] = "N. of nodes per element must be 4, 8 or 9";
constexpr const char brick_refusal[] = "N. of nodes per element must be 8 or 20";
constexpr const char bar_refusal[] = "N. of nodes per element must be 2";

constexpr NodalProperties no_properties = {};
constexpr NodalProperties thickness = {thickness_properties, thickness_values};
constexpr NodalProperties frame_section = {frame_properties, frame_values};
constexpr NodalProperties truss_section = {truss_properties, truss_values};

// clang-format on

}  // namespace

// clang-format off
const ProblemType problem_types[ntype_count] = {
//  menu                    ndime ndofn nspen npren nwink  nodes          refusal
    {"Plane stress",            2,   2,    1,    1,    0,  surface_nodes, surface_refusal,
     unit_vectors_2d, spring_vector_2d, thickness,     nullptr, nullptr,
     &plane_loads, prescribed_variables},
    {"Plane strain",            2,   2,    0,    0,    0,  surface_nodes, surface_refusal,
     unit_vectors_2d, spring_vector_2d, no_properties, nullptr, nullptr,
     &plane_loads, -1},
    {"Axisymmetry",             2,   2,    0,    0,    0,  surface_nodes, surface_refusal,
     unit_vectors_2d, spring_vector_2d, no_properties, nullptr, nullptr,
     &plane_loads, -1},
    {"Solid (3d)",              3,   3,    0,    0,    1,  brick_nodes,   brick_refusal,
     unit_vectors_3d, spring_vector_3d, no_properties, winkler_three_columns, winkler_three_values,
     &solid_loads, -1},
    {"Slab (Mindlin)",          2,   3,    1,    1,    1,  surface_nodes, surface_refusal,
     unit_vectors_2d, spring_vector_3d, thickness,     winkler_one_column, winkler_one_value,
     &slab_loads, -1},
    {"Shell (Ahmad)",           3,   6,    1,    1,    1,  surface_nodes, surface_refusal,
     unit_vectors_3d, spring_vector_3d, thickness,     winkler_three_columns, winkler_three_values,
     &shell_loads, element_temperatures},
    {"Frame (3d)",              3,   6,    1,    5,    0,  bar_nodes,     bar_refusal,
     unit_vectors_3d, spring_vector_3d, frame_section, nullptr, nullptr,
     &frame_loads, -1},
    {"Truss (3d)",              3,   3,    1,    1,    0,  bar_nodes,     bar_refusal,
     unit_vectors_3d, spring_vector_3d, truss_section, nullptr, nullptr,
     &truss_loads, -1},
    {"Plane shell (Mindlin)",   2,   5,    1,    1,    1,  surface_nodes, surface_refusal,
     unit_vectors_2d, spring_vector_3d, thickness,     winkler_three_columns, winkler_three_values,
     &plane_shell_loads, point_loads},
};

const char* const main_parameter_comments[main_parameter_count] = {
    "# nelem (n. of elements in the mesh)",
    "# npoin (n. of points in the mesh)",
    "# nvfix (n. of points with fixed degrees of freedom)",
    "# ncase (n. of load cases)",
    "# nmats (n. of sets of material properties)",
    "# nspen (n. of sets of element nodal properties)",
    "# ntype (problem type)",
    "# nnode (n. of nodes per element)",
    "# ngaus (n. of Gauss points in the integration rule) (element stiffness)",
    "# ngstr (n. of Gauss points in the integration rule) (stresses)",
    "# ndime (n. of geometric dimensions)",
    "# ndofn (n. of degrees of freedom per node)",
    "# nnscs (n. of points with specified coordinate system)",
    "# nsscs (n. of specified coordinate systems)",
    "# npspr (n. of springs)",
    "# nsspv (n. of spring vectors)",
    "# nprop (n. of material properties used in the formulation)",
    "# npren (n. of element nodal properties used in the formulation)",
    "# nwink (n. of element faces with Winkler coefficients)",
};

const char* const extraction_menu[3] = {"(x1,x2)", "(x2,x3)", "(x1,x3)"};
const int extraction_axes[3][2] = {{1, 2}, {2, 3}, {1, 3}};

const Lines connectivity_heading[2] = {connectivity_without_properties,
                                       connectivity_with_properties};
const Lines coordinates_heading[2] = {coordinates_2d, coordinates_3d};
const Lines supports_heading = supports;
const Lines coordinate_system_points_heading = coordinate_system_points;
const Lines coordinate_system_heading = coordinate_system;
const Lines springs_heading = springs;
const Lines spring_vectors_heading = spring_vectors;
const Lines materials = material_properties;
const Lines nodal_properties_title = nodal_properties;
const Lines winkler_heading = winkler;

const char* const load_count_comments[load_counts] = {
    "# nplod (n. of point loads in nodal points)",
    "# ngrav (gravity load flag: 1-yes;0-no)",
    "# nedge (n. of edge loads) (F.E.M. only)",
    "# nface (n. of face loads) (F.E.M. only)",
    "# nteme (n. of elements with temperature variation) (F.E.M. only)",
    "# nudis (n. of uniformly distributed loads) (3d frames and trusses only)",
    "# ntral (n. of trapezoidal distributed loads (3d frames and trusses only)",
    "# nepoi (n. of bar point loads) (3d frames and trusses only)",
    "# ntemb (n. of bars with temper. variation) (3d frames and trusses only)",
    "# nprva (n. of prescribed and non zero degrees of freedom)",
};
const Lines load_case_heading[2] = {first_load_case, second_load_case};
const char* const load_case_separator =
    "# ===================================================================";
// clang-format on

}  // namespace exchange::gld
