#include "console/terminal.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "console/report.h"

#ifdef TRELMO_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

namespace console::terminal {

namespace {

bool is_terminal = false;
volatile std::sig_atomic_t interrupt_seen = 0;
Completion completion = Completion::none;
std::string completion_suffix;
std::string history_path;
std::vector<std::string> command_words;
constexpr int history_length = 1000;

void on_interrupt(int) {
  interrupt_seen = 1;
}

#ifdef TRELMO_HAVE_LIBEDIT

// The candidates of the current completion, sorted.
std::vector<std::string> candidates() {
  std::vector<std::string> names;
  if (completion == Completion::command) {
    names = command_words;
  } else if (completion == Completion::job) {
    if (DIR* dir = ::opendir(".")) {
      while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        const std::string& suffix = completion_suffix;
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
          names.push_back(name.substr(0, name.size() - suffix.size()));
        }
      }
      ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
  }
  return names;
}

char* next_candidate(const char* text, int state) {
  static std::vector<std::string> names;
  static std::size_t at;
  if (state == 0) {
    names = candidates();
    at = 0;
  }
  std::size_t length = std::strlen(text);
  while (at < names.size()) {
    const std::string& name = names[at++];
    if (name.compare(0, length, text) == 0) return ::strdup(name.c_str());
  }
  return nullptr;
}

char** complete(const char* text, int, int) {
  rl_attempted_completion_over = 1;  // never fall back to the names of all files
  return rl_completion_matches(text, next_candidate);
}
#endif

}  // namespace

bool active() {
  return is_terminal;
}

void start(std::vector<std::string> words) {
  command_words = std::move(words);
  is_terminal = ::isatty(0) == 1;
  if (!is_terminal) return;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // a read waiting for an answer returns at once
  ::sigaction(SIGINT, &action, nullptr);
#ifdef TRELMO_HAVE_LIBEDIT
  rl_readline_name = "trelmo";
  rl_attempted_completion_function = complete;
  rl_completion_append_character = '\0';  // a job name is the whole answer
  using_history();
  stifle_history(history_length);
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    history_path = std::string(home) + "/.trelmo_history";
    read_history(history_path.c_str());
  }
#endif
}

void finish() {
#ifdef TRELMO_HAVE_LIBEDIT
  if (is_terminal && !history_path.empty()) {
    write_history(history_path.c_str());
    history_truncate_file(history_path.c_str(), history_length);
  }
#endif
}

void expect(Completion kind, std::string suffix) {
  completion = kind;
  completion_suffix = std::move(suffix);
}

bool expecting_command() {
  return completion == Completion::command;
}

std::optional<std::string> read_line(const std::string& prompt) {
  clear_interrupt();
  std::optional<std::string> line;
#ifdef TRELMO_HAVE_LIBEDIT
  // The prompt is on the screen already; the editor draws it again from the line's start.
  std::fputs("\r", stdout);
  std::fflush(stdout);
  char* text = readline(prompt.c_str());
  if (text != nullptr) {
    line = text;
    std::free(text);
    if (!line->empty()) add_history(line->c_str());
  }
#else
  std::string text;
  for (;;) {
    int c = std::getc(stdin);
    if (c == EOF) {
      if (!interrupt_seen && !text.empty()) line = text;
      std::clearerr(stdin);
      break;
    }
    if (c == '\n') {
      line = text;
      break;
    }
    text.push_back(static_cast<char>(c));
  }
#endif
  expect(Completion::none);
  if (interrupt_seen) {
    interrupt_seen = 0;
    outf("\n");
    throw Interrupted();
  }
  return line;
}

void check_interrupt() {
  if (interrupt_seen) {
    interrupt_seen = 0;
    throw Interrupted();
  }
}

void clear_interrupt() {
  interrupt_seen = 0;
}

}  // namespace console::terminal
