// zarc's outputs through the platform's replacing file: paths of any length, and each failing step
// told in its own words with the target left as it was.
#include "zarc/pack/replacing_file.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_system.h"
#include "fakes/faulty_file_system.h"
#include "platform/files.h"

namespace zarc {
namespace {

using setup::testing::FakeFileSystem;
using setup::testing::FaultyFileSystem;

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(ZarcReplacingFile, EachFailingStepIsToldAndLeavesTheTargetAlone) {
  const std::string target = "C:\\setup\\" + std::string(300, 'o') + ".zarc";  // past the program's limit
  const std::vector<std::pair<std::string, std::string>> words = {
      {"OpenForWriting", "cannot create a temporary file beside it"},
      {"Write", "cannot write it (is the disk full?)"},
      {"Close", "cannot finish writing it (is the disk full?)"},
      {"MoveOver", "cannot replace it"}};
  FakeFileSystem disk;
  for (int step = 1;; ++step) {
    disk.AddFile(target, "old");
    FaultyFileSystem faulty(disk, FaultyFileSystem::Mode::kFail, step);
    bool written;
    std::string failure;
    {
      ReplacingFile file(faulty, target);
      written = file.Open() && file.Write({'n', 'e', 'w'}) && file.Write(nullptr, 0) && file.Commit();
      failure = file.failure();
    }
    EXPECT_EQ(written ? "new" : "old", Text(disk.Contents(target)));
    for (int i = 0; i < setup::kTemporaryNames; ++i) EXPECT_FALSE(disk.Has(target + ".zarc-tmp" + std::to_string(i)));
    if (faulty.faulted() == nullptr) break;  // past the last step
    SCOPED_TRACE(faulty.faulted()->operation);
    if (step == 1) {  // a failed first name is got round by the next one
      EXPECT_TRUE(written);
      continue;
    }
    ASSERT_FALSE(written);
    bool told = false;
    for (const auto& [operation, said] : words) told = told || (operation == faulty.faulted()->operation && said == failure);
    EXPECT_TRUE(told) << failure;
  }

  // A file committed or never opened takes no further writes.
  ReplacingFile file(disk, target);
  EXPECT_FALSE(file.Write({'x'}));
  EXPECT_EQ("not open for writing", file.failure());
}

}  // namespace
}  // namespace zarc
