// The names a product folder's files take, and the tree read from disk in a stable order.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "base/cp932.h"
#include "platform/platform_fixture.h"
#include "zarc/pack/folder_tree.h"

namespace zarc {
namespace {

using Paths = std::vector<std::vector<std::string>>;

std::string Fold(std::string name) {
  setup::FoldCp932Name(name.data());
  return name;
}

struct NamingCase {
  const char* what;
  Paths paths;
  std::vector<std::string> names;
};

TEST(ZarcFolderNames, ShortestUnsharedTail) {
  const std::vector<NamingCase> cases = {
      {"same file name, one level apart", {{"LICENSE"}, {"sub", "LICENSE"}}, {"LICENSE", "sub\\LICENSE"}},
      {"a whole path that is another's tail", {{"b", "x"}, {"a", "b", "x"}}, {"b\\x", "a\\b\\x"}},
      {"each as short as it can be",
       {{"lib", "core", "x.pyd"}, {"lib", "x.pyd"}, {"lib", "core", "only.pyd"}},
       {"core\\x.pyd", "lib\\x.pyd", "only.pyd"}},
      {"letter case does not tell apart", {{"README.txt"}, {"doc", "readme.TXT"}},
       {"README.txt", "doc\\readme.TXT"}},
      // Ａ and ａ, full-width: Windows folds them as it does ASCII.
      {"full-width letters fold too", {{"\x82\x60.txt"}, {"d", "\x82\x81.txt"}},
       {"\x82\x60.txt", "d\\\x82\x81.txt"}},
      {"a 51-byte name fits", {{std::string(51, 'n')}}, {std::string(51, 'n')}},
  };
  for (const NamingCase& c : cases) {
    std::vector<std::string> names;
    size_t failed = 99;
    std::string problem;
    EXPECT_TRUE(ChooseEntryNames(c.paths, &names, &failed, &problem)) << c.what << ": " << problem;
    EXPECT_EQ(c.names, names) << c.what;
  }
}

TEST(ZarcFolderNames, RefusesWhatNoNameCanHold) {
  const std::string deep(30, 'd');
  const std::vector<std::pair<Paths, size_t>> cases = {
      {{{"ok"}, {std::string(52, 'n')}}, 1},
      // Only the folders tell these apart, and folder plus name is 61 bytes.
      {{{deep + "1", deep}, {deep + "2", deep}}, 0},
      {{{"Lib", "x"}, {"lib", "X"}}, 1},
  };
  for (const auto& [paths, bad] : cases) {
    std::vector<std::string> names;
    size_t failed = 99;
    std::string problem;
    EXPECT_FALSE(ChooseEntryNames(paths, &names, &failed, &problem)) << paths[bad].back();
    EXPECT_EQ(bad, failed) << problem;
    if (paths[bad].back().size() > 30) {
      EXPECT_NE(std::string::npos, problem.find("51 bytes")) << problem;
    }
  }
}

// Random trees over few letters, so tails clash often: every name is a tail of whole components
// of its own path, and no two fold alike.
TEST(ZarcFolderNames, RandomTreesGiveDistinctTails) {
  std::mt19937 random(5);
  const char* parts[] = {"a", "A", "b", "c"};
  for (int round = 0; round < 300; ++round) {
    Paths paths;
    std::set<std::string> wholes;
    for (int n = int(random() % 12) + 1; n > 0; --n) {
      std::vector<std::string> path;
      for (int depth = int(random() % 4) + 1; depth > 0; --depth) path.push_back(parts[random() % 4]);
      std::string whole;
      for (const std::string& p : path) whole += "\\" + p;
      if (wholes.insert(Fold(whole)).second) paths.push_back(path);
    }
    std::vector<std::string> names;
    size_t failed = 0;
    std::string problem;
    ASSERT_TRUE(ChooseEntryNames(paths, &names, &failed, &problem)) << problem;
    std::set<std::string> seen;
    for (size_t i = 0; i < paths.size(); ++i) {
      std::string whole;
      for (const std::string& p : paths[i]) whole += "\\" + p;
      EXPECT_EQ(0u, whole.compare(whole.size() - names[i].size(), names[i].size(), names[i]));
      EXPECT_EQ('\\', whole[whole.size() - names[i].size() - 1]) << names[i];
      EXPECT_TRUE(seen.insert(Fold(names[i])).second) << names[i];
    }
  }
}

TEST(ZarcFolderTree, ReadsSortedWithEmptyFoldersParentsFirst) {
  setup::testing::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  auto files = setup::testing::MakeFileSystem();
  for (const char* sub : {"p", "p\\z", "p\\z\\empty", "p\\b", "p\\b\\c"}) {
    ASSERT_TRUE(files->MakeFolder(folder.PathOf(sub).c_str())) << sub;
  }
  for (const char* file : {"p\\z\\x", "p\\b\\x", "p\\b\\c\\x", "p\\B.txt", "p\\a.txt"}) {
    ASSERT_TRUE(folder.WriteFile(file, file));
  }
  FolderTree tree;
  std::string problem;
  ASSERT_TRUE(ReadFolderTree(*files, folder.PathOf("p"), &tree, &problem)) << problem;
  EXPECT_EQ((std::vector<std::string>{"b", "b\\c", "z", "z\\empty"}), tree.folders);
  std::vector<std::string> relative, names;
  for (const FolderTree::File& file : tree.files) {
    relative.push_back(file.relative);
    names.push_back(file.entryName);
    std::string bytes;
    EXPECT_TRUE(folder.ReadFile("p\\" + file.relative, &bytes)) << file.hostPath;
  }
  EXPECT_EQ((std::vector<std::string>{"B.txt", "a.txt", "b\\x", "b\\c\\x", "z\\x"}), relative);
  EXPECT_EQ((std::vector<std::string>{"B.txt", "a.txt", "b\\x", "c\\x", "z\\x"}), names);
  EXPECT_TRUE(IsListableFolder(*files, folder.PathOf("p")));
  EXPECT_FALSE(IsListableFolder(*files, folder.PathOf("p\\a.txt")));

  // An install list value holds 254 bytes: a path one longer is refused, naming the file.
  std::string deep = "p";
  for (int i = 0; i < 6; ++i) {
    deep += "\\" + std::string(40, char('k' + i));
    ASSERT_TRUE(files->MakeFolder(folder.PathOf(deep).c_str()));
  }
  ASSERT_TRUE(folder.WriteFile(deep + "\\tail.bin", ""));
  EXPECT_TRUE(ReadFolderTree(*files, folder.PathOf("p"), &tree, &problem)) << problem;
  ASSERT_TRUE(folder.WriteFile(deep + "\\tail.binx", ""));
  EXPECT_FALSE(ReadFolderTree(*files, folder.PathOf("p"), &tree, &problem));
  EXPECT_NE(std::string::npos, problem.find("tail.binx")) << problem;
  EXPECT_NE(std::string::npos, problem.find("254")) << problem;
}

}  // namespace
}  // namespace zarc
