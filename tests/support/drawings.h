// Builders for the sessions of the drawing and coordinate commands (dxo, dxi, wrp): mesh files
// to start from, the expected text of DXF entities, and the dxo dialogue.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace session {

// A real value of a drawing: either its text as written ("      2.0000000") or a number,
// written "%15.7lf".
struct DxfValue {
  DxfValue(const char* written) : text(written) {}
  DxfValue(double value);
  DxfValue(int value) : DxfValue(static_cast<double>(value)) {}
  std::string text;
};
using DxfPoint = std::array<DxfValue, 3>;

// The section head and the end of the file.
std::string dxf_head();
std::string dxf_end();
// One entity each, as the export writes it, ending with its "  0" line.
std::string dxf_line(const std::string& layer, const DxfPoint& from, const DxfPoint& to);
std::string dxf_point(const std::string& layer, const DxfPoint& at);
std::string dxf_text(const std::string& layer, const DxfPoint& at, const DxfValue& height,
                     const std::string& text);
std::string dxf_polyline(const std::string& layer, const std::vector<DxfPoint>& vertices);

// A mesh file in the canonical layout: element node lists, point coordinates, special nodes.
std::string vmz_file(const std::string& main_title, const std::string& mesh_title,
                     const std::vector<std::vector<int>>& elements,
                     const std::vector<std::array<double, 3>>& points,
                     const std::vector<int>& specials);

// Answers of the dxo dialogue after the job name: wire frame, conversion, the two marks and the
// three numbers ("" takes the default).
struct DxoAnswers {
  std::string frame, conversion, node_marks, special_marks, element_numbers, node_numbers,
      special_numbers;
  std::string lines() const;  // the answer lines
};
// What dxo prints from its heading to the "Writing file" line.
std::string dxo_dialogue(const std::string& default_name, const std::string& name,
                         const DxoAnswers& answers);

}  // namespace session
