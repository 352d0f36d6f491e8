#include "support/tool_run.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tool_run {

namespace {
std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
}  // namespace

session::Result run(const session::Session& s, const std::vector<std::string>& args,
                    long file_size_limit, int timeout_seconds) {
  // The captured streams live beside the working directory, so the program never sees them.
  std::string out_path = s.dir() + "/../tool_stdout";
  std::string err_path = s.dir() + "/../tool_stderr";
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int in = ::open("/dev/null", O_RDONLY);
    int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || ::chdir(s.dir().c_str()) != 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::string program = VMZTOOL_BINARY;
    std::vector<std::string> copies(args);
    std::vector<char*> argv;
    argv.push_back(program.data());
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (file_size_limit > 0) {
      ::signal(SIGXFSZ, SIG_IGN);
      struct rlimit limit = {static_cast<rlim_t>(file_size_limit),
                             static_cast<rlim_t>(file_size_limit)};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::alarm(static_cast<unsigned>(timeout_seconds));
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int wstatus = 0;
  ::waitpid(pid, &wstatus, 0);
  session::Result result;
  result.out = slurp(out_path);
  result.err = slurp(err_path);
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -WTERMSIG(wstatus);
  return result;
}

std::string failure(const std::string& message) {
  return "vmztool: " + message + "\n";
}

std::string misuse(const std::string& message, const std::string& help_hint) {
  return "vmztool: " + message + "\nTry '" + help_hint + "'.\n";
}

}  // namespace tool_run
