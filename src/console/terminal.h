// A person typing at a terminal: line editing, history and completion of the answers, Ctrl-C to
// cancel a command and Ctrl-D at the Command prompt. None of it is active when standard input
// is not a terminal: piped answers are read exactly as before, character by character.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace console::terminal {

// True from start() on when standard input is a terminal.
bool active();
// Decides the mode; at a terminal, catches Ctrl-C and loads the answer history from
// $HOME/.trelmo_history. `command_words` are what Tab completes at the Command prompt.
void start(std::vector<std::string> command_words);
// Saves the history (at a terminal).
void finish();

// What the next answer line completes with Tab: nothing, a command word, or a job name (the
// names of the files in the working directory that end in `suffix`, without it).
enum class Completion { none, command, job };
void expect(Completion kind, std::string suffix = {});
bool expecting_command();

// One answer line read with line editing; `prompt` is the text already on the screen's last
// line, drawn again by the editor. Empty at the end of input (Ctrl-D on an empty line).
// Throws Interrupted on Ctrl-C.
std::optional<std::string> read_line(const std::string& prompt);

// Ctrl-C since the last answer: throws Interrupted. Long reads and writes call it as they go,
// so that a command stops within a fraction of a second.
void check_interrupt();
// Forgets a Ctrl-C that no command has seen.
void clear_interrupt();

}  // namespace console::terminal
