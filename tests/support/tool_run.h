// Runs the vmztool binary in the working directory of a session, for the end-to-end tests of
// vmztool's commands.
#pragma once

#include <string>
#include <vector>

#include "support/session.h"

namespace tool_run {

// Runs vmztool with `args` in s.dir() (standard input empty); a run that takes longer than
// `timeout_seconds` is killed. With `file_size_limit` above 0, every file the program writes
// is limited to that many bytes, as a full disk would limit it.
session::Result run(const session::Session& s, const std::vector<std::string>& args,
                    long file_size_limit = 0, int timeout_seconds = 120);

// The first line of vmztool's report of a fatal error, and of a bad command line.
std::string failure(const std::string& message);
std::string misuse(const std::string& message, const std::string& help_hint = "vmztool --help");

}  // namespace tool_run
