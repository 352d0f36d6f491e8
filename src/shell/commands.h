// The command table: the words of the menu in the order in which they are tried, the check the
// shell makes before each call, and the routine that runs the command and applies its result.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace shell {

class Shell;

enum class Check {
  none,
  element,     // nelem >= 1, else "ERROR: need at least one element"
  point,       // npoin >= 1, else "ERROR: need at least one point"
  point_in_b,  // npoin of buffer b >= 1, whichever buffer is current
};

struct Command {
  const char* word;
  Check check;
  // Calls the command and brings the buffer up to date; null when the command is not built,
  // which makes its word an invalid command.
  void (*run)(Shell&);
};

// The row of `word`, or null.
const Command* find_command(std::string_view word);
// Every word the Command prompt takes (the table's and `end`), sorted: what Tab completes.
std::vector<std::string> command_words();

}  // namespace shell
