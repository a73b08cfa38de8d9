#include "archive/memory_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace setup {
namespace {

// A stream holding a copy of text.
void Fill(MemoryStream& stream, const std::string& text) {
  uint8_t* buffer = new uint8_t[text.size()];
  memcpy(buffer, text.data(), text.size());
  stream.Adopt(buffer, uint32_t(text.size()));
}

TEST(MemoryStreamRead, StopsAtTheEndAndNeverWraps) {
  MemoryStream stream;
  Fill(stream, "abcd");
  char out[16] = {};
  EXPECT_EQ(4u, stream.Read(out, 10));
  EXPECT_EQ("abcd", std::string(out, 4));
  EXPECT_EQ(4u, stream.Position());
  EXPECT_EQ(0u, stream.Read(out, 10));
  EXPECT_EQ(4u, stream.Position());

  // A count that would wrap position + count must still be cut to what is left.
  stream.Seek(2, 0);
  EXPECT_EQ(2u, stream.Read(out, 0xFFFFFFFFu));
  EXPECT_EQ("cd", std::string(out, 2));
}

TEST(MemoryStreamSeek, OriginsAndTheEnd) {
  MemoryStream stream;
  Fill(stream, "0123456789");
  EXPECT_EQ(7, stream.Seek(3, 2));  // counts back from the end
  EXPECT_EQ(7u, stream.Position());
  EXPECT_EQ(4, stream.Seek(-3, 1));  // moves back
  EXPECT_EQ(-1, stream.Seek(0, 5));
  EXPECT_EQ(4u, stream.Position());  // unknown origin leaves it

  EXPECT_EQ(-1, stream.Seek(10, 0));  // the very end is stored but reported as -1
  EXPECT_EQ(10u, stream.Position());
  EXPECT_EQ(-1, stream.Seek(0, 1));
  EXPECT_NE(nullptr, stream.CurrentData());  // one past the data, still within the buffer

  EXPECT_EQ(-1, stream.Seek(50, 0));
  char out[4];
  EXPECT_EQ(0u, stream.Read(out, 4));
  EXPECT_EQ(nullptr, stream.CurrentData());  // never a pointer beyond the buffer's end
  EXPECT_EQ(0, stream.Seek(0, 0));
  EXPECT_EQ('0', *stream.CurrentData());
}

TEST(MemoryStreamSeek, EmptyStreamHasNoValidPosition) {
  MemoryStream stream;
  EXPECT_EQ(-1, stream.Seek(0, 0));
  EXPECT_EQ(nullptr, stream.CurrentData());
  char line[8];
  EXPECT_EQ(nullptr, stream.ReadLine(line, sizeof line));
}

// Every line ReadLine returns until it returns null.
std::vector<std::string> Lines(const std::string& text, uint32_t capacity = 512) {
  MemoryStream stream;
  Fill(stream, text);
  std::vector<std::string> lines;
  std::vector<char> line(capacity + 8, 'X');
  while (char* end = stream.ReadLine(line.data(), capacity)) {
    EXPECT_EQ('\0', *end);
    lines.emplace_back(line.data());
  }
  return lines;
}

TEST(MemoryStreamReadLine, LineEnds) {
  using V = std::vector<std::string>;
  EXPECT_EQ(V({"A"}), Lines("A\r\nB"));  // a last line without a break is not returned
  EXPECT_EQ(V({"", ""}), Lines("\n\n"));
  EXPECT_EQ(V({"A", "C"}), Lines("A\rBC\r\n"));  // the byte after a lone CR is lost
  EXPECT_EQ(V({"one", "two", "three"}), Lines("one\r\ntwo\nthree\r\n"));
  EXPECT_EQ(V({}), Lines("no break at all"));
}

TEST(MemoryStreamReadLine, CrAtTheEndLeavesThePositionPastIt) {
  MemoryStream stream;
  Fill(stream, "A\r");
  char line[16];
  ASSERT_NE(nullptr, stream.ReadLine(line, sizeof line));
  EXPECT_STREQ("A", line);
  EXPECT_EQ(3u, stream.Position());
  EXPECT_EQ(nullptr, stream.ReadLine(line, sizeof line));
  EXPECT_EQ(nullptr, stream.CurrentData());
}

TEST(MemoryStreamReadLine, CapacityLimitsTheLine) {
  EXPECT_EQ(1u, Lines(std::string(510, 'x') + "\r\n").size());
  EXPECT_EQ(510u, Lines(std::string(510, 'x') + "\r\n")[0].size());
  EXPECT_TRUE(Lines(std::string(511, 'x') + "\r\nnext\r\n").empty());

  // An over-long line never writes past the capacity, terminated or not.
  MemoryStream stream;
  Fill(stream, std::string(40, 'y') + "\n");
  char guarded[16];
  memset(guarded, '#', sizeof guarded);
  EXPECT_EQ(nullptr, stream.ReadLine(guarded, 8));
  EXPECT_EQ(std::string(7, 'y'), std::string(guarded, 7));
  EXPECT_EQ(std::string(9, '#'), std::string(guarded + 7, 9));
  EXPECT_EQ(7u, stream.Position());
  EXPECT_EQ(nullptr, stream.ReadLine(guarded, 0));
}

TEST(MemoryStreamLifecycle, ReleaseEmptiesTheStream) {
  MemoryStream stream;
  Fill(stream, "data");
  stream.Seek(2, 0);
  EXPECT_TRUE(stream.Release());
  EXPECT_EQ(0u, stream.Size());
  EXPECT_EQ(0u, stream.Position());
  EXPECT_EQ(nullptr, stream.CurrentData());
  EXPECT_TRUE(stream.Release());  // twice is harmless
}

}  // namespace
}  // namespace setup
