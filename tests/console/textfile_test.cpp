// Reading lines from a file: the same lines as fgets gives with the same room, also across the
// file's internal buffer and for lines that do not fit.
#include "console/textfile.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

namespace {

class InputLines : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trelmo-lines-XXXXXX";
    int fd = ::mkstemp(pattern);
    ASSERT_GE(fd, 0);
    ::close(fd);
    path_ = pattern;
  }
  void TearDown() override { ::unlink(path_.c_str()); }

  void write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }

  // The lines fgets reads with `size`, each cut at a NUL character as a C string.
  std::vector<std::string> fgets_lines(int size) {
    std::vector<std::string> all;
    std::FILE* f = std::fopen(path_.c_str(), "rb");
    std::vector<char> room(static_cast<std::size_t>(size));
    while (std::fgets(room.data(), size, f) != nullptr) all.emplace_back(room.data());
    std::fclose(f);
    return all;
  }

  std::vector<std::string> next_lines(int size) {
    std::vector<std::string> all;
    auto f = console::InputFile::open(path_);
    std::string_view line;
    while (f->next_line(line, size)) all.emplace_back(line);
    EXPECT_FALSE(f->next_line(line, size));  // the end stays the end
    return all;
  }

  std::vector<std::string> read_lines(int size) {
    std::vector<std::string> all;
    auto f = console::InputFile::open(path_);
    std::string line;
    while (f->read_line(line, size)) all.push_back(line);
    return all;
  }

  std::string path_;
};

}  // namespace

TEST_F(InputLines, LinesKeepTheirLineEndsAndLongLinesComeInPieces) {
  write("ENTITIES\r\n" + std::string(79, 'x') + "VERTEX\n\nlast");
  std::vector<std::string> expected = {"ENTITIES\r\n", std::string(79, 'x'), "VERTEX\n", "\n",
                                       "last"};
  EXPECT_EQ(next_lines(80), expected);
  EXPECT_EQ(read_lines(80), expected);
  EXPECT_EQ(fgets_lines(80), expected);
}

TEST_F(InputLines, NulCharacterEndsTheLineAsInACString) {
  write(std::string("ab\0cd\nef\n", 9));
  std::vector<std::string> expected = {"ab", "ef\n"};
  EXPECT_EQ(next_lines(80), expected);
  EXPECT_EQ(read_lines(80), expected);
}

TEST_F(InputLines, EmptyFileHasNoLine) {
  write("");
  EXPECT_TRUE(next_lines(80).empty());
}

TEST_F(InputLines, SameLinesAsFgetsAcrossTheBuffer) {
  // Over 3 MB of lines of random lengths, some longer than the room, some holding NULs.
  std::mt19937 random(7);
  std::uniform_int_distribution<int> length(0, 120);
  std::string content;
  std::uniform_int_distribution<int> byte(0, 255);
  while (content.size() < 3 * 1024 * 1024 + 17) {
    int n = length(random);
    for (int i = 0; i < n; ++i) {
      // Mostly letters; now and then a NUL or any other byte but a line feed.
      int c = byte(random);
      if (c == '\n' || c > 250)
        c = 0;
      else if (c > 20)
        c = 'a' + i % 26;
      content.push_back(static_cast<char>(c));
    }
    content.push_back('\n');
  }
  content += "no line end";
  write(content);
  for (int size : {80, 1000}) {
    std::vector<std::string> expected = fgets_lines(size);
    EXPECT_EQ(next_lines(size), expected);
    EXPECT_EQ(read_lines(size), expected);
  }
}
