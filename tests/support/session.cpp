#include "support/session.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace session {

namespace fs = std::filesystem;

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Removes a tree, also where a test took away the permissions of a folder.
void remove_tree(const std::string& path) {
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(path, ec))
    if (entry.is_directory(ec)) fs::permissions(entry.path(), fs::perms::owner_all, ec);
  fs::remove_all(path, ec);
}

}  // namespace

Session::Session() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/trelmo-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  dir_ = root_ + "/work";
  ::mkdir(dir_.c_str(), 0700);
}

Session::~Session() {
  ::chmod(dir_.c_str(), 0700);
  remove_tree(root_);
}
void Session::write(const std::string& name, const std::string& content) const {
  std::ofstream out(path(name), std::ios::binary);
  out << content;
}

std::string Session::read(const std::string& name) const {
  return slurp(path(name));
}
bool Session::exists(const std::string& name) const {
  return fs::exists(path(name));
}
std::vector<std::string> Session::files() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

Result Session::run(const std::string& answers, const std::vector<std::string>& args,
                    int timeout_seconds) const {
  std::string in_path = root_ + "/stdin";
  {
    std::ofstream in(in_path, std::ios::binary);
    in << answers;
  }
  // Standard output comes back through a pipe, which no file-size limit touches; the error
  // stream, a few lines, through a file beside the answers.
  int out_pipe[2];
  if (::pipe(out_pipe) != 0) throw std::runtime_error("pipe failed");
  std::string err_path = root_ + "/stderr";
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int in = ::open(in_path.c_str(), O_RDONLY);
    int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || err < 0 || ::chdir(dir_.c_str()) != 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out_pipe[1], 1);
    ::dup2(err, 2);
    ::close(out_pipe[0]);
    std::vector<char*> argv;
    std::string program = TRELMO_BINARY;
    argv.push_back(program.data());
    std::vector<std::string> copies(args);
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::signal(SIGXFSZ, SIG_IGN);  // writes beyond a file-size limit fail with EFBIG instead
    for (auto [resource, bytes] :
         {std::pair{RLIMIT_FSIZE, file_size_limit_}, std::pair{RLIMIT_AS, address_space_limit_}}) {
      rlimit limit = {static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
      // AddressSanitizer's shadow memory needs terabytes of address space: no such limit there.
      if (bytes > 0 && !(TRELMO_SANITIZED && resource == RLIMIT_AS)) ::setrlimit(resource, &limit);
    }
    ::alarm(static_cast<unsigned>(timeout_seconds));  // survives exec: a hung run is killed
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out_pipe[1]);
  Result result;
  char chunk[65536];
  ssize_t n;
  while ((n = ::read(out_pipe[0], chunk, sizeof chunk)) != 0) {
    if (n > 0) result.out.append(chunk, static_cast<std::size_t>(n));
    if (n < 0 && errno != EINTR) break;
  }
  ::close(out_pipe[0]);
  int wstatus = 0;
  ::waitpid(pid, &wstatus, 0);
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -WTERMSIG(wstatus);
  result.err = slurp(err_path);
  return result;
}

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string text(static_cast<std::size_t>(n), '\0');
  std::vsnprintf(text.data(), text.size() + 1, fmt, args);
  va_end(args);
  return text;
}

std::string lines(const std::vector<std::string>& text) {
  std::string all;
  for (const std::string& line : text) all += line + "\n";
  return all;
}

std::string startup() {
  // The banner is the program's own text, fifteen fixed lines after an empty line; the shell
  // tests check its shape once, the others that it comes first.
  static const std::string banner = [] {
    std::string out = Session().run("end\n").out;
    return out.substr(0, out.find("\n*** AVAILABLE COMMANDS"));
  }();
  return banner;
}

std::string menu(char buffer) {
  return "\n*** AVAILABLE COMMANDS  (type help for additional information)\n"
         "    bts ccf csm cue cya dxi dxo ele elp end gen gld mer\n"
         "    mir mov paa rea ren rot shr snd stf sys wri wrp\n"
         "\nCurrent buffer is = " +
         std::string(1, buffer) + " =\n\n";
}

std::string step(const std::string& word, char buffer) {
  return menu(buffer) + "Command ? You answered: " + word + "\n";
}

std::string leave() {
  return "\n";
}

std::string empty_session() {
  return startup() + step("end") + leave();
}

std::string ask_int(const std::string& question, int default_answer, const std::string& answer) {
  return format("\n%s [%d] ? You answered: %s\n", question.c_str(), default_answer,
                answer.empty() ? std::to_string(default_answer).c_str() : answer.c_str());
}

std::string ask_real(const std::string& question, const std::string& default_text,
                     const std::string& answer) {
  return format("\n%s [%s] ? You answered: %s\n", question.c_str(), default_text.c_str(),
                answer.empty() ? default_text.c_str() : answer.c_str());
}

std::string ask_char(const std::string& question, char c1, char c2, char default_choice,
                     const std::string& answer) {
  return format("\n%s (%c/%c) [%c] ? You answered: %s\n", question.c_str(), c1, c2, default_choice,
                answer.empty() ? std::string(1, default_choice).c_str() : answer.c_str());
}

std::string job_dialogue(const std::string& heading, const std::string& default_name,
                         const std::string& answer) {
  return "\n" + heading + "\n\nJob name [" + default_name +
         "] ? You answered: " + (answer.empty() ? default_name : answer) + "\n";
}

std::string counts(int nelem, int npoin, int nspno) {
  return format(
      "\nNumber of      elements = %8d\nNumber of         nodes = %8d\nNumber of special nodes = "
      "%8d\n",
      nelem, npoin, nspno);
}

std::string reading(const std::string& file, const std::string& main_title,
                    const std::string& mesh_title, int nelem, int npoin, int nspno) {
  return "\nReading file: " + file + "\n\n" + main_title + "\n" + mesh_title + "\n" +
         counts(nelem, npoin, nspno);
}

std::string mesh_file(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Point>& points, const std::vector<int>& specials) {
  std::string text =
      main_title + "\n" + mesh_title + "\n" +
      format("%5zu   %5zu   %5zu\n", elements.size(), points.size(), specials.size());
  int i = 0;
  for (const auto& nodes : elements) {
    text += format("%5d %5zu   ", ++i, nodes.size());
    for (int node : nodes) text += format(" %5d", node);
    text += "\n";
  }
  i = 0;
  for (const Point& p : points)
    text += format("%5d %15.8lf %15.8lf %15.8lf\n", ++i, p[0], p[1], p[2]);
  i = 0;
  for (int p : specials) text += format("%5d %5d\n", ++i, p);
  return text;
}

std::string rea_step(const std::string& offered, const std::string& job,
                     const std::string& main_title, const std::string& mesh_title, int nelem,
                     int npoin, int nspno, char buffer) {
  return step("rea", buffer) + job_dialogue("Read a .vmz file to buffer a or b", offered, job) +
         reading((job.empty() ? offered : job) + ".vmz", main_title, mesh_title, nelem, npoin,
                 nspno);
}

std::string wri_step(const std::string& offered, const std::string& job, int nelem, int npoin,
                     int nspno, char buffer) {
  return step("wri", buffer) + job_dialogue("Write a .vmz file with buffer a or b", offered, job) +
         counts(nelem, npoin, nspno) + "\nWriting file: " + (job.empty() ? offered : job) +
         ".vmz\n";
}

std::string handback_reading(const std::string& main_title, const std::string& mesh_title,
                             int nelem, int npoin, int nspno) {
  return reading("tmp.vmz", main_title, mesh_title, nelem, npoin, nspno);
}

std::string fatal(const std::string& message) {
  return "\nERROR:\n" + message + "\n\n";
}

std::string warning(const std::string& message) {
  return "\nWARNING:\n" + message + "\n";
}

}  // namespace session
