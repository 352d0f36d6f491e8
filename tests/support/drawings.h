// The text of DXF entities as the drawing export writes them: group codes on lines of their own,
// reals "%15.7lf" (or as given), each entity ended by "  0".
#pragma once

#include <array>
#include <string>
#include <vector>

#include "support/session.h"

namespace session {

using Xyz = std::array<std::string, 3>;
inline Xyz xyz(const Point& p) {
  return {format("%15.7lf", p[0]), format("%15.7lf", p[1]), format("%15.7lf", p[2])};
}
inline const std::string dxf_head = lines({"  0", "SECTION", "  2", "ENTITIES", "  0"});
inline const std::string dxf_end = lines({"ENDSEC", "  0", "EOF"});
inline std::string dxf_at(const std::string& kind, const std::string& layer, const Xyz& p) {
  return lines({kind, "  8", layer, " 10", p[0], " 20", p[1], " 30", p[2]});
}
inline std::string dxf_line(const std::string& layer, const Xyz& a, const Xyz& b) {
  return dxf_at("LINE", layer, a) + lines({" 11", b[0], " 21", b[1], " 31", b[2], "  0"});
}
inline std::string dxf_point(const std::string& layer, const Xyz& p) {
  return dxf_at("POINT", layer, p) + "  0\n";
}
inline std::string dxf_text(const std::string& layer, const Xyz& p, double height,
                            const std::string& text) {
  return dxf_at("TEXT", layer, p) + lines({" 40", format("%15.7lf", height), "  1", text, "  0"});
}
inline std::string dxf_polyline(const std::string& layer, const std::vector<Xyz>& vertices) {
  std::string all = lines({"POLYLINE", "  8", layer, " 66", "     1", " 10", "0.0", " 20", "0.0",
                           " 30", "0.0", " 70", "     8", "  0"});
  for (const Xyz& v : vertices) all += dxf_at("VERTEX", layer, v) + lines({" 70", "    32", "  0"});
  return all + lines({"SEQEND", "  8", layer, "  0"});
}

}  // namespace session
