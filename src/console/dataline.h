// Pieces shared by the readers of data files: removing a line's line end and cutting a line
// into words, with comments removed.
#pragma once

#include <string>
#include <vector>

namespace console {

// Room of a data line: at most 999 characters and the terminator.
constexpr int data_line_size = 1000;
// Largest length of a line that `splitw` accepts, and largest number of words.
constexpr int max_line_length = 980;
constexpr int max_words = 100;

// Removes the final line feed (and a carriage return just before it). A line that does not
// end in a line feed is a fatal error: it was cut by the room it was read with, or it is the
// last line of a file without a final line end.
void elimnl(std::string& line);

// Cuts the line at its first '#', carriage return or line feed and returns its words
// (maximal runs of characters other than blank and tab).
std::vector<std::string> splitw(const std::string& line);

}  // namespace console
