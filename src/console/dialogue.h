// The questions with a default answer, their echo, and the reading of answer lines.
//
// Every question prints its prompt without a line end, reads one answer line and echoes it as
// "You answered: ..." with a line end. A refused answer prints "ERROR: repeat answer ..." and the
// question is asked again. At the end of standard input every question and every wait for the
// Return key ends the program through the fatal error report.
#pragma once

#include <string>
#include <string_view>

namespace console {

// Room of an answer buffer: at most 79 characters of a line are kept.
constexpr int answer_size = 80;

double askrea(std::string_view question, double default_answer);
int askint(std::string_view question, int default_answer);
// The answer folded to lower case: one of the two choices.
char askcha(std::string_view question, char choice1, char choice2, char default_choice);
// The whole answer line, blanks kept; the default when the line is empty. No empty line is
// printed before the prompt.
std::string askstr(std::string_view question, std::string_view default_answer);
// The first blank-separated word of the next answer line.
std::string askwrd();
// The next line of standard input without its line end, cut to size - 1 characters. A line
// ends at a line feed, a carriage return, or a carriage return followed by a line feed.
std::string rdline(int size);
// Waits for the next line end of standard input.
void waitrt();
// Prints "text" (no line end), waits for the Return key and prints an empty line.
void pause(std::string_view text);

}  // namespace console
