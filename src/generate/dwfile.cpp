#include "generate/dwfile.h"

#include <vector>

#include "console/checks.h"
#include "console/dataline.h"
#include "console/dialogue.h"
#include "console/report.h"

namespace generate {

namespace {

using console::errf;
using console::fatal;
using console::outf;

constexpr const char* end_marker = "END_OF_FILE";

// The next text line that is neither empty nor a comment, without its line end and its outer
// blanks; false at the end of the file.
bool read_text_line(console::InputFile& file, int size, std::string& line) {
  while (file.read_line(line, size)) {
    console::elimnl(line);
    console::trimbl(line);
    if (!line.empty() && line[0] != '#') return true;
  }
  return false;
}

// The words of the next data line that has any; false at the end of the file.
bool read_data_line(console::InputFile& file, std::vector<std::string>& words) {
  std::string line;
  while (file.read_line(line, console::data_line_size)) {
    words = console::splitw(line);
    if (!words.empty()) return true;
  }
  return false;
}

void next_data_line(console::InputFile& file, std::vector<std::string>& words) {
  if (!read_data_line(file, words)) fatal("Unexpected end of file");
}

// Integer and real words: the syntax check first, then a conversion that must take the whole
// word and fit the type (an integer beyond the range of int, or a real beyond that of double,
// is no valid number).
bool integer_word(const std::string& word, int& value) {
  return console::chkint(word).valid && console::parse_int(word, value);
}
bool real_word(const std::string& word, double& value) {
  return console::chkrea(word).valid && console::parse_real(word, value);
}

void check_mode(char mode, const console::InputFile* file, const char* internal_error) {
  if (mode == 'n' || (mode == 'y' && file != nullptr)) return;
  fatal(internal_error);
}

// Generation parameter n (1 or 2) from its data line.
int read_parameter(console::InputFile& file, int n) {
  if (n < 1 || n > 2) fatal("rdwdat: internal error 1");
  std::vector<std::string> words;
  next_data_line(file, words);
  int value = 0;
  const char* fault = nullptr;
  if (words.size() != 1) {
    fault = "Invalid number of words in the line";
  } else if (!integer_word(words[0], value)) {
    fault = "Invalid integer";
  }
  if (fault != nullptr) {
    errf("\n");
    errf("Reading the generation parameter n. %8d\n", n);
    fatal(fault);
  }
  return value;
}

const char* node_hint(int ngtyp) {
  switch (ngtyp) {
    case 1:
      return "Generated elements may have 2 or 3 nodes\n";
    case 2:
      return "Generated elements may have 4, 8 or 9 nodes\n";
    case 3:
      return "Generated elements may have 8 or 20 nodes\n";
    default:
      fatal("rdwdat: internal error 2");
  }
}

int node_default(int ngtyp) {
  switch (ngtyp) {
    case 1:
      return 2;
    case 2:
      return 8;
    case 3:
      return 20;
    default:
      fatal("rdwdat: internal error 3");
  }
}

bool node_count_allowed(int ngtyp, int nnodg) {
  switch (ngtyp) {
    case 1:
      return nnodg == 2 || nnodg == 3;
    case 2:
      return nnodg == 4 || nnodg == 8 || nnodg == 9;
    default:
      return nnodg == 8 || nnodg == 20;
  }
}

void repeat_answer() {
  outf("\nERROR: repeat answer ...\n");
}

// The context of a fault in the divisions of element ielem.
[[noreturn]] void divisions_fault(int ielem, const char* message) {
  errf("\n");
  errf("Reading divisions of element n. %8d\n", ielem);
  fatal(message);
}

// Reads the divisions; true when a weights section follows them.
bool read_divisions(console::InputFile& file, int nelem, int ngtyp,
                    console::OneMatrix<int>& divisions) {
  std::vector<std::string> words;
  std::vector<int> values;
  for (int ielem = 1; ielem <= nelem; ++ielem) {
    next_data_line(file, words);
    if (static_cast<int>(words.size()) != ngtyp + 1) {
      divisions_fault(ielem, "Invalid number of words in the line");
    }
    values.assign(words.size(), 0);
    for (std::size_t w = 0; w < words.size(); ++w) {
      if (!integer_word(words[w], values[w])) divisions_fault(ielem, "Syntax error");
    }
    if (values[0] != ielem) divisions_fault(ielem, "Wrong element number");
    for (int j = 1; j <= ngtyp; ++j) {
      if (values[static_cast<std::size_t>(j)] < 1) {
        divisions_fault(ielem, "Number of divisions is less than 1");
      }
      divisions(ielem, j) = values[static_cast<std::size_t>(j)];
    }
  }
  // The divisions may be followed by END_OF_FILE and nothing else; otherwise the line looked at
  // is the first of the weights section and is read again from there.
  long long mark = file.tell();
  std::string line;
  if (!read_text_line(file, probe_line_size, line)) fatal("Unexpected end of file");
  if (line == end_marker) return false;
  if (!file.seek(mark)) fatal("rnelsi: fseek failed");
  return true;
}

void ask_divisions(int nelem, int ngtyp, console::OneMatrix<int>& divisions) {
  static const char* const questions[3] = {
      "N. of divisions for all the elements in s1",
      "N. of divisions for all the elements in s2",
      "N. of divisions for all the elements in s3",
  };
  for (int j = 1; j <= ngtyp && j <= 3; ++j) {
    int answer;
    for (;;) {
      answer = console::askint(questions[j - 1], 1);
      if (answer >= 1) break;
      repeat_answer();
    }
    if (nelem >= 1) divisions(1, j) = answer;
  }
  for (int ielem = 2; ielem <= nelem; ++ielem) {
    for (int j = 1; j <= ngtyp; ++j) divisions(ielem, j) = divisions(1, j);
  }
}

// Context lines of a fault in the weights: the element, then the direction and the weight
// when they are known (0: not printed).
[[noreturn]] void weights_fault(int ielem, int idire, int iweig, const char* message) {
  errf("\n");
  errf("Reading weights of element n. %8d\n", ielem);
  if (idire > 0) errf("Direction n. %8d\n", idire);
  if (iweig > 0) errf("Weight n. %8d\n", iweig);
  fatal(message);
}

// Weights of element ielem along direction idire, read from the file. The listed weights are
// gathered in `listed` and handed over divided by their sum; -1 leaves the direction with equal
// steps.
void read_direction(console::InputFile& file, int ielem, int idire, int ndivi, StepWeights& weights,
                    std::vector<std::string>& words, std::vector<double>& listed) {
  if (ndivi < 1) weights_fault(ielem, idire, 0, "Weight sum is too small");
  listed.clear();
  double sum = 0.0;
  for (int k = 1;; ++k) {
    next_data_line(file, words);
    if (words.size() != 2) weights_fault(ielem, idire, k, "Invalid number of words in the line");
    int number = 0;
    double w = 0.0;
    if (!integer_word(words[0], number) || !real_word(words[1], w)) {
      weights_fault(ielem, idire, k, "Syntax error");
    }
    if (number != k) weights_fault(ielem, idire, k, "Wrong weight number");
    // Equal steps for the whole direction; weights listed before are dropped.
    if (w == -1.0) return;
    if (w < 0.0) weights_fault(ielem, idire, k, "Invalid weight value");
    listed.push_back(w);
    sum += w;
    if (k == ndivi) {
      if (sum < 1e-12) weights_fault(ielem, idire, 0, "Weight sum is too small");
      break;
    }
  }
  for (double& w : listed) w /= sum;
  weights.list(ielem, idire, listed);
}

void read_weights(console::InputFile& file, int nelem, int ngtyp,
                  const console::OneMatrix<int>& divisions, StepWeights& weights) {
  std::vector<std::string> words;
  std::vector<double> listed;
  for (int ielem = 1; ielem <= nelem; ++ielem) {
    next_data_line(file, words);
    if (words.size() != 1) weights_fault(ielem, 0, 0, "Invalid number of words in the line");
    int number = 0;
    if (!integer_word(words[0], number)) weights_fault(ielem, 0, 0, "Syntax error");
    if (number != ielem) weights_fault(ielem, 0, 0, "Wrong element number");
    for (int idire = 1; idire <= ngtyp; ++idire) {
      read_direction(file, ielem, idire, divisions(ielem, idire), weights, words, listed);
    }
  }
  std::string line;
  if (!read_text_line(file, probe_line_size, line)) fatal("Unexpected end of file");
  if (line != end_marker) fatal("Missing END_OF_FILE");
}

}  // namespace

void rdwdat(char mode, console::InputFile* file, int& ngtyp, int& nnodg, std::string& title) {
  check_mode(mode, file, "rdwdat: internal error 4");
  if (mode == 'y') {
    if (!read_text_line(*file, title_line_size, title)) fatal("Unexpected end of file");
    if (title.size() > static_cast<std::size_t>(dw_title_length)) title.resize(dw_title_length);
    outf("\n%s\n", title.c_str());
    ngtyp = read_parameter(*file, 1);
    nnodg = read_parameter(*file, 2);
    return;
  }
  title = "Title of the divisions and weights";
  for (;;) {
    ngtyp = console::askint("N. of local dimensions (lines=>1 ; surfaces=>2 ; solids=>3)", 1);
    if (ngtyp >= 1 && ngtyp <= 3) break;
    repeat_answer();
  }
  for (;;) {
    outf("\n%s", node_hint(ngtyp));
    nnodg = console::askint("N. of nodes of the generated elements", node_default(ngtyp));
    if (node_count_allowed(ngtyp, nnodg)) break;
    repeat_answer();
  }
}

int rnelsi(int nelem, int ngtyp, char& mode, console::OneMatrix<int>& divisions,
           console::InputFile* file) {
  check_mode(mode, file, "rnelsi: internal error 1");
  if (mode == 'y') {
    if (!read_divisions(*file, nelem, ngtyp, divisions)) mode = 'n';
  } else {
    ask_divisions(nelem, ngtyp, divisions);
  }
  int maximum = 0;
  for (int ielem = 1; ielem <= nelem; ++ielem) {
    for (int j = 1; j <= ngtyp; ++j) {
      if (divisions(ielem, j) > maximum) maximum = divisions(ielem, j);
    }
  }
  outf("\nMaximum number of elements per side = %8d\n", maximum);
  return maximum;
}

StepWeights::StepWeights(const console::OneMatrix<int>& divisions)
    : divisions_(&divisions), first_(divisions.rows(), divisions.cols()) {
  for (int ielem = 1; ielem <= divisions.rows(); ++ielem) {
    for (int idire = 1; idire <= divisions.cols(); ++idire) first_(ielem, idire) = -1;
  }
}

void StepWeights::list(int ielem, int idire, const std::vector<double>& weights) {
  first_(ielem, idire) = static_cast<long long>(listed_.size());
  listed_.insert(listed_.end(), weights.begin(), weights.end());
}

void rweisi(int nelem, int ngtyp, char mode, const console::OneMatrix<int>& divisions,
            StepWeights& weights, console::InputFile* file) {
  check_mode(mode, file, "rweisi: internal error 1");
  if (mode == 'y') {
    read_weights(*file, nelem, ngtyp, divisions, weights);
    return;
  }
  outf("\nEqual steps in all elements and in all directions\n");
  for (int ielem = 1; ielem <= nelem; ++ielem) {
    for (int idire = 1; idire <= ngtyp; ++idire) {
      if (divisions(ielem, idire) < 1) weights_fault(ielem, idire, 0, "Weight sum is too small");
    }
  }
}

}  // namespace generate
