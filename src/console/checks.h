// Small string helpers of the dialogue and the number-syntax and job-name checks that the
// questions and the file readers share. A blank, here, is the space character only.
#pragma once

#include <string>
#include <string_view>

namespace console {

// Removes leading and trailing blanks, in place.
void trimbl(std::string& text);
// Length without trailing blanks.
int lentrm(std::string_view text);
// Number of leading blanks; 0 when lentrm is 0.
int lblank(std::string_view text);

// Result of a number-syntax check: the 1-based position of the first offending character
// (0 when the word is valid).
struct SyntaxCheck {
  bool valid;
  int position;
};
SyntaxCheck chkint(std::string_view word);
SyntaxCheck chkrea(std::string_view word);

// Trims the job name, cuts it at its first blank, tab, carriage return or line feed, and
// answers 'y' when every remaining character is a letter, a digit or one of $ . / : \ _
// (an empty name is accepted), 'n' otherwise.
char chkjob(std::string& name);

// Whole-token conversions for readers: the token must be a complete number. Integers must
// fit an int; reals must be finite. A leading '+' is allowed.
bool parse_int(std::string_view token, int& value);
bool parse_real(std::string_view token, double& value);

}  // namespace console
