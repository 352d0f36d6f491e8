#include "console/dialogue.h"

#include <cstdio>
#include <cstdlib>

#include "console/checks.h"
#include "console/report.h"
#include "console/terminal.h"

namespace console {

namespace {

[[noreturn]] void end_of_input() {
  fatal("End of input reached while waiting for an answer");
}

// After a carriage return, a line feed that follows at once belongs to the same line end.
void drop_lf_after_cr() {
  int c = std::getc(streams().in);
  if (c != '\n' && c != EOF) std::ungetc(c, streams().in);
}

void repeat_answer() {
  outf("\nERROR: repeat answer ...\n");
}

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string rdline(int size) {
  std::fflush(streams().out);
  if (terminal::active()) {
    // Ctrl-D: `end` at the Command prompt; elsewhere it cancels the command like Ctrl-C.
    bool at_command = terminal::expecting_command();
    std::optional<std::string> typed = terminal::read_line(screen_line());
    if (!typed) {
      if (!at_command) throw Interrupted();
      typed = "end";
    }
    if (static_cast<int>(typed->size()) > size - 1) typed->resize(size > 0 ? size - 1 : 0);
    return *typed;
  }
  std::string line;
  bool any = false;
  for (;;) {
    int c = std::getc(streams().in);
    if (c == EOF) {
      // A last line without its line end still counts as a line; nothing at all is the end.
      if (!any) end_of_input();
      break;
    }
    any = true;
    if (c == '\n') break;
    if (c == '\r') {
      drop_lf_after_cr();
      break;
    }
    if (static_cast<int>(line.size()) < size - 1) line.push_back(static_cast<char>(c));
  }
  return line;
}

void waitrt() {
  rdline(1);
}

void pause(std::string_view text) {
  outs(text);
  waitrt();
  outf("\n");
}

std::string askwrd() {
  std::string line = rdline(answer_size);
  std::size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  line.erase(0, first);
  std::size_t blank = line.find(' ');
  if (blank != std::string::npos) line.resize(blank);
  return line;
}

double askrea(std::string_view question, double default_answer) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15lg", default_answer);
  if (!chkrea(text).valid) fatal("askrea: invalid default answer");
  for (;;) {
    outf("\n%.*s [%.15lg] ? ", static_cast<int>(question.size()), question.data(), default_answer);
    std::string answer = askwrd();
    if (answer.empty()) {
      outf("You answered: %.15lg\n", default_answer);
      return default_answer;
    }
    outf("You answered: %s\n", answer.c_str());
    double value = 0;
    if (chkrea(answer).valid && parse_real(answer, value)) return value;
    repeat_answer();
  }
}

int askint(std::string_view question, int default_answer) {
  char text[32];
  std::snprintf(text, sizeof text, "%d", default_answer);
  if (!chkint(text).valid) fatal("askint: invalid default answer");
  for (;;) {
    outf("\n%.*s [%d] ? ", static_cast<int>(question.size()), question.data(), default_answer);
    std::string answer = askwrd();
    if (answer.empty()) {
      outf("You answered: %d\n", default_answer);
      return default_answer;
    }
    outf("You answered: %s\n", answer.c_str());
    int value = 0;
    if (chkint(answer).valid && parse_int(answer, value)) return value;
    repeat_answer();
  }
}

char askcha(std::string_view question, char choice1, char choice2, char default_choice) {
  choice1 = lower(choice1);
  choice2 = lower(choice2);
  default_choice = lower(default_choice);
  if (default_choice != choice1 && default_choice != choice2) {
    fatal("askcha: the default choice must be one of the valid choices");
  }
  for (;;) {
    outf("\n%.*s (%c/%c) [%c] ? ", static_cast<int>(question.size()), question.data(), choice1,
         choice2, default_choice);
    std::string answer = askwrd();
    for (char& c : answer) c = lower(c);
    if (answer.empty()) answer = std::string(1, default_choice);
    outf("You answered: %s\n", answer.c_str());
    if (answer.size() == 1 && (answer[0] == choice1 || answer[0] == choice2)) return answer[0];
    repeat_answer();
  }
}

std::string askstr(std::string_view question, std::string_view default_answer) {
  if (!default_answer.empty()) {
    outf("%.*s [%.*s] ? ", static_cast<int>(question.size()), question.data(),
         static_cast<int>(default_answer.size()), default_answer.data());
  } else {
    outf("%.*s ? ", static_cast<int>(question.size()), question.data());
  }
  std::string answer = rdline(answer_size);
  if (answer.empty()) answer = std::string(default_answer.substr(0, answer_size - 1));
  outf("You answered: %s\n", answer.c_str());
  return answer;
}

}  // namespace console
