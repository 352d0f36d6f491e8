// The command line of vmztool: its three commands, their options and help texts.
#pragma once

#include <string>
#include <vector>

namespace vmztool {

// Runs vmztool with the arguments that follow the program name: does what they ask, reports
// on the error stream, and answers the exit status (0 done, 1 bad input or a file that cannot
// be written, 2 bad usage).
int run(const std::vector<std::string>& args);

}  // namespace vmztool
