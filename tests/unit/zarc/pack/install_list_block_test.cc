// The install list block in a publisher's script: only it replaced on a later run, the rest kept
// byte for byte in its own encoding and line breaks.
#include <gtest/gtest.h>

#include "zarc/pack/install_list_block.h"

namespace zarc {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string Put(const std::string& script, const std::vector<std::string>& lines) {
  std::vector<uint8_t> result;
  std::string problem;
  EXPECT_TRUE(PutListBlock(Bytes(script), "app", lines, &result, &problem)) << problem;
  return std::string(result.begin(), result.end());
}

TEST(ZarcListBlock, ReplacesOnlyItsOwnBlock) {
  const std::string begin = ListBlockBegin("app");
  const std::string head = "//mine\r\n#T=Q\r\n#I=readme.txt";  // no break after the last line
  const std::string first = Put(head, {"#F=a", "#I=a\\x"});
  EXPECT_EQ(head + "\r\n\r\n" + begin + "\r\n#F=a\r\n#I=a\\x\r\n" + kListBlockEnd + "\r\n", first);

  // The publisher adds lines after it, and another release drops a folder.
  const std::string tail = "//after\r\n#I=extra.dat\r\n";
  const std::string second = Put(first + tail, {"#I=y"});
  EXPECT_EQ(head + "\r\n\r\n" + begin + "\r\n#I=y\r\n" + kListBlockEnd + "\r\n" + tail, second);
  EXPECT_EQ(second, Put(second, {"#I=y"})) << "the same folder changes nothing";
}

TEST(ZarcListBlock, KeepsTheScriptsLineBreaksAndEncoding) {
  // The first break is an LF alone: the block takes it; a CR LF of a line kept stays.
  EXPECT_EQ("#T=Q\n#T=R\r\n\n" + ListBlockBegin("app") + "\n#I=x\n" + kListBlockEnd + "\n",
            Put("#T=Q\n#T=R\r\n", {"#I=x"}));
  // 表\ソ.txt in code page 932, into a script in code page 932 and into one in UTF-8.
  const std::string cp932Line = "#I=\x95\x5c/\x83\x5c.txt";
  const std::string sjis = "//\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\r\n";  // インストール
  EXPECT_NE(std::string::npos, Put(sjis, {cp932Line}).find(cp932Line + "\r\n"));
  const std::string utf8 = "//\xe3\x82\xa4\xe3\x83\xb3\xe3\x82\xb9\xe3\x83\x88\r\n";
  const std::string inUtf8 = Put(utf8, {cp932Line});
  EXPECT_NE(std::string::npos, inUtf8.find("#I=\xe8\xa1\xa8/\xe3\x82\xbd.txt\r\n")) << inUtf8;
  EXPECT_EQ(std::string::npos, inUtf8.find(cp932Line));
}

TEST(ZarcListBlock, RefusesABrokenOrDoubledBlock) {
  const std::string begin = ListBlockBegin("app") + "\r\n";
  const std::string end = std::string(kListBlockEnd) + "\r\n";
  for (const std::string& script : {"#T=Q\r\n" + begin + "#I=x\r\n",
                                    begin + end + "#T=Q\r\n" + begin + end}) {
    std::vector<uint8_t> result;
    std::string problem;
    EXPECT_FALSE(PutListBlock(Bytes(script), "app", {"#I=y"}, &result, &problem)) << script;
    EXPECT_NE(std::string::npos, problem.find("line")) << problem;
  }
}

TEST(ZarcListBlock, SlashGoesBeforeTheEntryName) {
  FolderTree tree;
  tree.folders = {"lib", "lib\\core", "empty"};
  tree.files = {{"lib\\core\\x.pyd", "", "x.pyd"},
                {"lib\\core\\y.pyd", "", "core\\y.pyd"},
                {"lib\\core\\z.pyd", "", "lib\\core\\z.pyd"},
                {"top.txt", "", "top.txt"}};
  EXPECT_EQ((std::vector<std::string>{"#F=lib", "#F=lib\\core", "#F=empty", "#I=lib\\core/x.pyd",
                                      "#I=lib/core\\y.pyd", "#I=lib\\core\\z.pyd", "#I=top.txt"}),
            InstallListLines(tree));
}

}  // namespace
}  // namespace zarc
