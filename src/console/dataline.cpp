#include "console/dataline.h"

#include "console/report.h"

namespace console {

void elimnl(std::string& line) {
  if (line.empty()) return;
  if (line.back() == '\r') fatal("elimnl: internal error 1 (CR in the string)");
  if (line.back() != '\n') fatal("elimnl: internal error 2 (LF expected)");
  line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
}

std::vector<std::string> splitw(const std::string& line) {
  // The line is measured as if cut at position 990, so that a very long line is reported
  // without being scanned further.
  constexpr std::size_t forced_end = 990;
  std::size_t length = line.find('\0');
  if (length == std::string::npos) length = line.size();
  if (length > forced_end) length = forced_end;
  if (length > static_cast<std::size_t>(max_line_length)) fatal("Line too long");

  std::size_t cut = line.find_first_of("#\r\n");
  if (cut == std::string::npos || cut > length) cut = length;

  std::vector<std::string> words;
  std::size_t p = 0;
  while (p < cut) {
    while (p < cut && (line[p] == ' ' || line[p] == '\t')) ++p;
    if (p >= cut) break;
    std::size_t start = p;
    while (p < cut && line[p] != ' ' && line[p] != '\t') ++p;
    if (static_cast<int>(words.size()) == max_words) fatal("Too many words in a single line");
    words.emplace_back(line, start, p - start);
  }
  return words;
}

}  // namespace console
