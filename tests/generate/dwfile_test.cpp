// The divisions-and-weights readers in file mode and in interactive mode.
#include "generate/dwfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "support/generation.h"
#include "support/session.h"

using generation::CapturedConsole;
using generation::TempFile;
using session::format;

namespace {

// What the three readers produced from one file.
struct DwData {
  int ngtyp = 0;
  int nnodg = 0;
  std::string title;
  char mode = 'y';
  int maximum = 0;
  console::OneMatrix<int> divisions;
  console::OneArray3<double> weights;
};

// Runs rdwdat, rnelsi and rweisi on the file as gen does.
DwData read_all(console::InputFile* file, int nelem, char mode = 'y') {
  DwData d;
  d.mode = mode;
  generate::rdwdat(d.mode, file, d.ngtyp, d.nnodg, d.title);
  d.divisions = console::OneMatrix<int>(nelem, d.ngtyp);
  d.maximum = generate::rnelsi(nelem, d.ngtyp, d.mode, d.divisions, file);
  d.weights = console::OneArray3<double>(nelem, d.ngtyp, d.maximum);
  generate::rweisi(nelem, d.ngtyp, d.mode, d.divisions, d.weights, file);
  return d;
}

// A fault of the file: the context lines written before it and the message.
struct Fault {
  std::string context;
  std::string message;
};

Fault fault_of(const std::string& content, int nelem) {
  TempFile f(content);
  auto file = console::InputFile::open(f.path());
  CapturedConsole io;
  try {
    read_all(file.get(), nelem);
  } catch (const console::FatalError& e) {
    return {io.err(), e.what()};
  }
  ADD_FAILURE() << "no fault in:\n" << content;
  return {};
}

// The header of a file for two surface elements refined into 8-node elements.
const std::string header = "Plate\n2\n8\n";

std::string element_context(int i) {
  return format("\nReading divisions of element n. %8d\n", i);
}
std::string weights_context(int i) {
  return format("\nReading weights of element n. %8d\n", i);
}
std::string weight_context(int i, int j, int k) {
  return weights_context(i) + format("Direction n. %8d\n", j) + format("Weight n. %8d\n", k);
}

}  // namespace

TEST(DwFile, ReferenceFileWithGradedAndEqualSteps) {
  TempFile f(
      "Plate refinement\n2\n8\n1 3 2\n2 2 2\n1\n1 1.0\n2 2.0\n3 1.0\n1 -1\n2\n1 1\n2 1\n1 -1\n"
      "END_OF_FILE\n");
  auto file = console::InputFile::open(f.path());
  CapturedConsole io;
  DwData d = read_all(file.get(), 2);
  EXPECT_EQ(io.out(),
            "\nPlate refinement\n" + format("\nMaximum number of elements per side = %8d\n", 3));
  EXPECT_EQ(io.err(), "");
  EXPECT_EQ(d.ngtyp, 2);
  EXPECT_EQ(d.nnodg, 8);
  EXPECT_EQ(d.mode, 'y');
  EXPECT_EQ(d.maximum, 3);
  EXPECT_EQ(d.divisions(1, 1), 3);
  EXPECT_EQ(d.divisions(1, 2), 2);
  EXPECT_EQ(d.divisions(2, 1), 2);
  EXPECT_EQ(d.divisions(2, 2), 2);
  EXPECT_DOUBLE_EQ(d.weights(1, 1, 1), 0.25);
  EXPECT_DOUBLE_EQ(d.weights(1, 1, 2), 0.5);
  EXPECT_DOUBLE_EQ(d.weights(1, 1, 3), 0.25);
  EXPECT_DOUBLE_EQ(d.weights(1, 2, 1), 0.5);
  EXPECT_DOUBLE_EQ(d.weights(1, 2, 2), 0.5);
  for (int j = 1; j <= 2; ++j) {
    EXPECT_DOUBLE_EQ(d.weights(2, j, 1), 0.5);
    EXPECT_DOUBLE_EQ(d.weights(2, j, 2), 0.5);
  }
}

TEST(DwFile, BlankAndCommentLinesAnywhereAndCommentsBehindData) {
  TempFile f(
      "\n   \n# heading comment\n   Title # with a hash   \n\n# c\n2   # ngtyp\n\n\t\n4\n"
      "# divisions\n1\t2 1 # element 1\n\n# weights follow\n\n1\n  # s1\n1 3 # first\n\n2 1\n"
      "1 -1\n\n   END_OF_FILE   \nanything after the end\n");
  auto file = console::InputFile::open(f.path());
  CapturedConsole io;
  DwData d = read_all(file.get(), 1);
  EXPECT_EQ(d.title, "Title # with a hash");
  EXPECT_EQ(io.out(),
            "\nTitle # with a hash\n" + format("\nMaximum number of elements per side = %8d\n", 2));
  EXPECT_EQ(d.ngtyp, 2);
  EXPECT_EQ(d.nnodg, 4);
  EXPECT_EQ(d.mode, 'y');
  EXPECT_DOUBLE_EQ(d.weights(1, 1, 1), 0.75);
  EXPECT_DOUBLE_EQ(d.weights(1, 1, 2), 0.25);
  EXPECT_DOUBLE_EQ(d.weights(1, 2, 1), 1.0);
}

TEST(DwFile, EndOfFileRightAfterTheDivisionsGivesEqualSteps) {
  TempFile f(header + "1 3 1\n2 2 4\n\n# no weights\nEND_OF_FILE\n");
  auto file = console::InputFile::open(f.path());
  CapturedConsole io;
  DwData d = read_all(file.get(), 2);
  EXPECT_EQ(d.mode, 'n');
  EXPECT_EQ(io.out(), "\nPlate\n" + format("\nMaximum number of elements per side = %8d\n", 4) +
                          "\nEqual steps in all elements and in all directions\n");
  EXPECT_DOUBLE_EQ(d.weights(1, 1, 3), 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(d.weights(1, 2, 1), 1.0);
  EXPECT_DOUBLE_EQ(d.weights(2, 2, 4), 0.25);
}

TEST(DwFile, MinusOneDiscardsEarlierWeightsOfItsDirectionOnly) {
  TempFile f(header + "1 3 2\n1\n1 5\n2 7\n3 -1\n1 0\n2 2\nEND_OF_FILE\n");
  auto file = console::InputFile::open(f.path());
  CapturedConsole io;
  DwData d = read_all(file.get(), 1);
  for (int k = 1; k <= 3; ++k) EXPECT_DOUBLE_EQ(d.weights(1, 1, k), 1.0 / 3.0);
  // A zero weight is a zero-length step.
  EXPECT_DOUBLE_EQ(d.weights(1, 2, 1), 0.0);
  EXPECT_DOUBLE_EQ(d.weights(1, 2, 2), 1.0);
}

TEST(DwFile, TitleIsCutAfterItsSeventySecondCharacter) {
  std::string title(72, 'x');
  TempFile f("  " + title + "yz  \n1\n2\n1 1\nEND_OF_FILE\n");
  auto file = console::InputFile::open(f.path());
  CapturedConsole io;
  DwData d = read_all(file.get(), 1);
  EXPECT_EQ(d.title, title);
  EXPECT_EQ(io.out().substr(0, 75), "\n" + title + "\n\n");
}

TEST(DwFile, LowerCaseEndOfFileStartsAWeightsSection) {
  Fault f = fault_of(header + "1 1 1\nend_of_file\n", 1);
  EXPECT_EQ(f.context, weights_context(1));
  EXPECT_EQ(f.message, "Syntax error");
}

TEST(DwFile, CommentBehindEndOfFileMakesItNoTerminator) {
  Fault f = fault_of(header + "1 1 1\nEND_OF_FILE # done\n", 1);
  EXPECT_EQ(f.context, weights_context(1));
  EXPECT_EQ(f.message, "Syntax error");
  Fault g = fault_of(header + "1 1 1\n1\n1 -1\n1 -1\nEND_OF_FILE # done\n", 1);
  EXPECT_EQ(g.context, "");
  EXPECT_EQ(g.message, "Missing END_OF_FILE");
}

TEST(DwFile, FaultsInTheTitleAndTheGenerationParameters) {
  struct Case {
    std::string content, context, message;
  };
  const std::string p1 = "\nReading the generation parameter n.        1\n";
  const std::string p2 = "\nReading the generation parameter n.        2\n";
  const Case cases[] = {
      {"", "", "Unexpected end of file"},
      {"\n# only comments\n   \n", "", "Unexpected end of file"},
      {"Title\n# no parameters\n", "", "Unexpected end of file"},
      {"Title\n2\n", "", "Unexpected end of file"},
      {"Title\n2 8\n", p1, "Invalid number of words in the line"},
      {"Title\n2.0\n8\n", p1, "Invalid integer"},
      {"Title\n2\n\n\n", "", "Unexpected end of file"},
      {"Title\n2\n8 x\n", p2, "Invalid number of words in the line"},
      {"Title\n2\neight\n", p2, "Invalid integer"},
      {"Title\n2\n99999999999\n", p2, "Invalid integer"},
      {"Title without line end", "", "elimnl: internal error 2 (LF expected)"},
      {std::string(998, 't') + "\n2\n8\n", "", "elimnl: internal error 2 (LF expected)"},
  };
  for (const Case& c : cases) {
    TempFile f(c.content);
    auto file = console::InputFile::open(f.path());
    CapturedConsole io;
    int ngtyp = 0, nnodg = 0;
    std::string title;
    try {
      generate::rdwdat('y', file.get(), ngtyp, nnodg, title);
      ADD_FAILURE() << "accepted: " << c.content;
    } catch (const console::FatalError& e) {
      EXPECT_EQ(e.what(), c.message) << c.content;
      EXPECT_EQ(io.err(), c.context) << c.content;
    }
  }
}

TEST(DwFile, TitleOfNineHundredNinetySevenCharactersFitsItsRoom) {
  TempFile f(std::string(997, 't') + "\n3\n20\n");
  auto file = console::InputFile::open(f.path());
  CapturedConsole io;
  int ngtyp = 0, nnodg = 0;
  std::string title;
  generate::rdwdat('y', file.get(), ngtyp, nnodg, title);
  EXPECT_EQ(title, std::string(72, 't'));
  EXPECT_EQ(ngtyp, 3);
  EXPECT_EQ(nnodg, 20);
}

TEST(DwFile, FaultsInTheDivisions) {
  struct Case {
    std::string lines;
    int element;
    std::string message;
  };
  const Case cases[] = {
      {"1 2 2\n", 0, "Unexpected end of file"},
      {"1 2 2\n\n# nothing more\n", 0, "Unexpected end of file"},
      {"1 2\n", 1, "Invalid number of words in the line"},
      {"1 2 2\n2 2 2 2\n", 2, "Invalid number of words in the line"},
      {"1 2 2.5\n", 1, "Syntax error"},
      {"x 2 2\n", 1, "Syntax error"},
      {"1 2 2\n2 1 99999999999\n", 2, "Syntax error"},
      {"2 2 2\n1 2 2\n", 1, "Wrong element number"},
      {"1 2 2\n3 2 2\n", 2, "Wrong element number"},
      {"1 0 2\n", 1, "Number of divisions is less than 1"},
      {"1 2 2\n2 2 -3\n", 2, "Number of divisions is less than 1"},
      {"1 2 2\n2 2 2\n", 0, "Unexpected end of file"},
  };
  for (const Case& c : cases) {
    Fault f = fault_of(header + c.lines, 2);
    EXPECT_EQ(f.message, c.message) << c.lines;
    EXPECT_EQ(f.context, c.element > 0 ? element_context(c.element) : "") << c.lines;
  }
}

TEST(DwFile, FaultsInTheWeights) {
  struct Case {
    std::string lines;
    std::string context;
    std::string message;
  };
  // Element 1 has 2 x 1 divisions, element 2 has 1 x 2.
  const std::string divisions = "1 2 1\n2 1 2\n";
  const Case cases[] = {
      {"1\n1 1\n", "", "Unexpected end of file"},
      {"1\n1 -1\n1 -1\n2\n1 -1\n1 1\n2 1\n", "", "Unexpected end of file"},
      {"1 1\n", weights_context(1), "Invalid number of words in the line"},
      {"one\n", weights_context(1), "Syntax error"},
      {"2\n", weights_context(1), "Wrong element number"},
      {"1\n1 -1\n1 -1\n3\n", weights_context(2), "Wrong element number"},
      {"1\n1 1 1\n", weight_context(1, 1, 1), "Invalid number of words in the line"},
      {"1\n1\n", weight_context(1, 1, 1), "Invalid number of words in the line"},
      {"1\n1 1\n2.0 1\n", weight_context(1, 1, 2), "Syntax error"},
      {"1\n1 1\n2 heavy\n", weight_context(1, 1, 2), "Syntax error"},
      {"1\n1 1\n2 1e999\n", weight_context(1, 1, 2), "Syntax error"},
      {"1\n2 1\n", weight_context(1, 1, 1), "Wrong weight number"},
      {"1\n1 -1\n1 -1\n2\n1 -1\n1 1\n3 1\n", weight_context(2, 2, 2), "Wrong weight number"},
      {"1\n1 1\n2 -0.5\n", weight_context(1, 1, 2), "Invalid weight value"},
      {"1\n1 -1\n1 -2\n", weight_context(1, 2, 1), "Invalid weight value"},
      {"1\n1 0\n2 0.0\n", weights_context(1) + format("Direction n. %8d\n", 1),
       "Weight sum is too small"},
      {"1\n1 1\n2 1\n1 -1\n2\n1 -1\n1 -1\nEND\n", "", "Missing END_OF_FILE"},
  };
  for (const Case& c : cases) {
    Fault f = fault_of(header + divisions + c.lines, 2);
    EXPECT_EQ(f.message, c.message) << c.lines;
    EXPECT_EQ(f.context, c.context) << c.lines;
  }
}

TEST(DwFile, LongLinesAreFatal) {
  // A data line beyond 980 characters.
  Fault data = fault_of(header + "1 1 1" + std::string(980, ' ') + "\n", 1);
  EXPECT_EQ(data.message, "Line too long");
  // The END_OF_FILE probe has room for 78 characters and the line feed; a longer comment line
  // there reaches elimnl without its line feed.
  Fault probe = fault_of(header + "1 1 1\n#" + std::string(78, '-') + "\nEND_OF_FILE\n", 1);
  EXPECT_EQ(probe.message, "elimnl: internal error 2 (LF expected)");
  // With 77 characters the comment fits and is skipped.
  TempFile f(header + "1 1 1\n#" + std::string(76, '-') + "\nEND_OF_FILE\n");
  auto file = console::InputFile::open(f.path());
  CapturedConsole io;
  EXPECT_EQ(read_all(file.get(), 1).mode, 'n');
}

TEST(DwFile, RepositioningThatFailsIsFatal) {
  // Through a pipe the reader cannot move back once the probe has read past its buffer.
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  std::string content = header + "1 1 1\n" + std::string(3 << 20, '\n') + "1\n";
  std::thread writer([&] {
    std::size_t done = 0;
    while (done < content.size()) {
      ssize_t n = ::write(fds[1], content.data() + done, content.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::close(fds[1]);
  });
  {
    auto file = console::InputFile::open("/dev/fd/" + std::to_string(fds[0]));
    ASSERT_TRUE(file);
    CapturedConsole io;
    int ngtyp = 0, nnodg = 0;
    std::string title;
    char mode = 'y';
    generate::rdwdat(mode, file.get(), ngtyp, nnodg, title);
    console::OneMatrix<int> divisions(1, ngtyp);
    try {
      generate::rnelsi(1, ngtyp, mode, divisions, file.get());
      ADD_FAILURE() << "repositioned a pipe";
    } catch (const console::FatalError& e) {
      EXPECT_STREQ(e.what(), "rnelsi: fseek failed");
    }
  }
  ::close(fds[0]);
  writer.join();
}

TEST(DwFile, InteractiveAnswersWithRepeatsAndDefaults) {
  CapturedConsole io("0\n4\n2\n5\n\n-1\n3\n2\n");
  DwData d = read_all(nullptr, 3, 'n');
  const std::string repeat = "\nERROR: repeat answer ...\n";
  EXPECT_EQ(io.out(), generation::ask_ngtyp("0") + repeat + generation::ask_ngtyp("4") + repeat +
                          generation::ask_ngtyp("2") + generation::ask_nnodg(2, "5") + repeat +
                          generation::ask_nnodg(2, "") + generation::ask_divisions(1, "-1") +
                          repeat + generation::ask_divisions(1, "3") +
                          generation::ask_divisions(2, "2") +
                          format("\nMaximum number of elements per side = %8d\n", 3) +
                          "\nEqual steps in all elements and in all directions\n");
  EXPECT_EQ(d.title, "Title of the divisions and weights");
  EXPECT_EQ(d.ngtyp, 2);
  EXPECT_EQ(d.nnodg, 8);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(d.divisions(i, 1), 3);
    EXPECT_EQ(d.divisions(i, 2), 2);
    EXPECT_DOUBLE_EQ(d.weights(i, 1, 2), 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(d.weights(i, 2, 2), 0.5);
  }
}

TEST(DwFile, InteractiveKindsAskOnlyTheirDirections) {
  {
    CapturedConsole io("1\n3\n7\n");
    DwData d = read_all(nullptr, 1, 'n');
    EXPECT_EQ(io.out(), generation::ask_ngtyp("1") + generation::ask_nnodg(1, "3") +
                            generation::ask_divisions(1, "7") +
                            format("\nMaximum number of elements per side = %8d\n", 7) +
                            "\nEqual steps in all elements and in all directions\n");
    EXPECT_EQ(d.nnodg, 3);
  }
  {
    CapturedConsole io("3\n8\n\n2\n4\n");
    DwData d = read_all(nullptr, 2, 'n');
    EXPECT_EQ(io.out(), generation::ask_ngtyp("3") + generation::ask_nnodg(3, "8") +
                            generation::ask_divisions(1, "") + generation::ask_divisions(2, "2") +
                            generation::ask_divisions(3, "4") +
                            format("\nMaximum number of elements per side = %8d\n", 4) +
                            "\nEqual steps in all elements and in all directions\n");
    EXPECT_EQ(d.divisions(2, 1), 1);
    EXPECT_EQ(d.divisions(2, 3), 4);
  }
}

TEST(DwFile, UnknownModeOrMissingDivisionsAreInternalErrors) {
  CapturedConsole io;
  int ngtyp = 0, nnodg = 0;
  std::string title;
  console::OneMatrix<int> divisions(1, 1);
  console::OneArray3<double> weights(1, 1, 1);
  char mode = 'x';
  auto fatal_message = [](auto call) -> std::string {
    try {
      call();
    } catch (const console::FatalError& e) {
      return e.what();
    }
    return "no fatal error";
  };
  EXPECT_EQ(fatal_message([&] { generate::rdwdat('x', nullptr, ngtyp, nnodg, title); }),
            "rdwdat: internal error 4");
  EXPECT_EQ(fatal_message([&] { generate::rnelsi(1, 1, mode, divisions, nullptr); }),
            "rnelsi: internal error 1");
  // File mode without a file is a caller's fault too.
  EXPECT_EQ(fatal_message([&] { generate::rweisi(1, 1, 'y', divisions, weights, nullptr); }),
            "rweisi: internal error 1");
  EXPECT_EQ(io.err(), "");
  // A direction without divisions has no steps to share the side.
  divisions(1, 1) = 0;
  EXPECT_EQ(fatal_message([&] { generate::rweisi(1, 1, 'n', divisions, weights, nullptr); }),
            "Weight sum is too small");
  EXPECT_EQ(io.err(), weights_context(1) + format("Direction n. %8d\n", 1));
}
