#include "support/drawings.h"

#include "support/session.h"

namespace session {

DxfValue::DxfValue(double value) : text(format("%15.7lf", value)) {}

std::string dxf_head() {
  return lines({"  0", "SECTION", "  2", "ENTITIES", "  0"});
}

std::string dxf_end() {
  return lines({"ENDSEC", "  0", "EOF"});
}

std::string dxf_line(const std::string& layer, const DxfPoint& from, const DxfPoint& to) {
  return lines({"LINE", "  8", layer, " 10", from[0].text, " 20", from[1].text, " 30", from[2].text,
                " 11", to[0].text, " 21", to[1].text, " 31", to[2].text, "  0"});
}

std::string dxf_point(const std::string& layer, const DxfPoint& at) {
  return lines(
      {"POINT", "  8", layer, " 10", at[0].text, " 20", at[1].text, " 30", at[2].text, "  0"});
}

std::string dxf_text(const std::string& layer, const DxfPoint& at, const DxfValue& height,
                     const std::string& text) {
  return lines({"TEXT", "  8", layer, " 10", at[0].text, " 20", at[1].text, " 30", at[2].text,
                " 40", height.text, "  1", text, "  0"});
}

std::string dxf_polyline(const std::string& layer, const std::vector<DxfPoint>& vertices) {
  std::string all = lines({"POLYLINE", "  8", layer, " 66", "     1", " 10", "0.0", " 20", "0.0",
                           " 30", "0.0", " 70", "     8", "  0"});
  for (const DxfPoint& v : vertices) {
    all += lines({"VERTEX", "  8", layer, " 10", v[0].text, " 20", v[1].text, " 30", v[2].text,
                  " 70", "    32", "  0"});
  }
  return all + lines({"SEQEND", "  8", layer, "  0"});
}

std::string DxoAnswers::lines() const {
  return frame + "\n" + conversion + "\n" + node_marks + "\n" + special_marks + "\n" +
         element_numbers + "\n" + node_numbers + "\n" + special_numbers + "\n";
}

std::string dxo_dialogue(const std::string& default_name, const std::string& name,
                         const DxoAnswers& a) {
  return job_dialogue("Write a .dxf file (AutoCad 10) with buffer a or b", default_name, name) +
         "\nWire frame output with:\n\nl) lines\np) polylines\n" +
         ask_char("Your choice", 'l', 'p', 'p', a.frame) + "\nCoordinate conversion:\n\n" +
         session::lines({"   +---------------+", "   | .vmz  |  .dxf |", "   |---------------|",
                         "   |   x   ->   z  |", "   |   y   ->   x  |", "   |   z   ->   y  |",
                         "   +---------------+"}) +
         ask_char("Perform this conversion", 'y', 'n', 'n', a.conversion) +
         ask_char("Marks   in the         nodes", 'y', 'n', 'n', a.node_marks) +
         ask_char("Marks   in the special nodes", 'y', 'n', 'n', a.special_marks) +
         ask_char("Numbers in the      elements", 'y', 'n', 'n', a.element_numbers) +
         ask_char("Numbers in the         nodes", 'y', 'n', 'n', a.node_numbers) +
         ask_char("Numbers in the special nodes", 'y', 'n', 'n', a.special_numbers) +
         "\nWriting file: " + (name.empty() ? default_name : name) + ".dxf\n";
}

}  // namespace session
