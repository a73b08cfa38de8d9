// Every way the program replaces a file, with each of its steps failing in turn: the target is
// the old file or the whole new one, and nothing is left beside it.
#include "platform/replacing_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "chunkfile/chunk_test_support.h"
#include "fakes/faulty_file_system.h"

namespace setup::testing {
namespace {

// The three ways a file is replaced: written and moved at once (the saved data, zarc), written on
// a worker and moved later (the engine's entries), and copied into a reserved name (#C over a file).
enum class Way { kNow, kLater, kCopy };

class ReplacingFileTest : public ChunkFileTest {
 protected:
  void SetUp() override {
    ChunkFileTest::SetUp();
    Put("new.src", "the new bytes");
    // A copy takes the source's marks, and still must not stay beside the target.
    if (GetParam() == Storage::kDisk) {
      ASSERT_TRUE(MakeReadOnly(Path("new.src")));
    }
  }
  // Runs one replacement of "target" through files; true when it reports success.
  bool Replace(FileSystem& files, Way way) {
    const std::string target = Path("target");
    char beside[kPathCapacity];
    ReplacingFile file(files, target.c_str(), beside, sizeof beside);
    if (way == Way::kCopy) {
      if (!file.Reserve()) return false;
      if (!files.CopyFileOver(Path("new.src").c_str(), beside)) {
        file.Discard();
        return false;
      }
      files.SetNormalAttributes(beside);
      return file.Place();
    }
    OutputFile* out = file.Create();
    if (out == nullptr) return false;
    const bool written = out->Write("the new", 7) && out->Write(" bytes", 6);
    if (way == Way::kNow) return file.Replace(written);
    if (!file.Finish(written)) return false;
    EXPECT_EQ(Get("target"), "the old bytes");  // finished, not yet in place
    return PlaceBeside(files, beside, target.c_str());
  }
  // The source and the old target alone.
  void Fresh() {
    for (const std::string& name : Names()) {
      if (name == "new.src") continue;
      fs().SetNormalAttributes(Path(name).c_str());  // a copy moved in with the source's marks
      fs().RemoveFile(Path(name).c_str());
    }
    Put("target", "the old bytes");
  }
  int StepsOf(Way way) {
    Fresh();
    FaultyFileSystem counting(fs(), FaultyFileSystem::Mode::kFail, 0);
    EXPECT_TRUE(Replace(counting, way));
    EXPECT_EQ(Get("target"), "the new bytes");
    return counting.steps();
  }
};

INSTANTIATE_TEST_SUITE_P(, ReplacingFileTest, ::testing::Values(Storage::kMemory, Storage::kDisk), StorageName);

TEST_P(ReplacingFileTest, AnyFailedStepLeavesTheOldFileAndNothingBesideIt) {
  for (Way way : {Way::kNow, Way::kLater, Way::kCopy}) {
    const int steps = StepsOf(way);
    ASSERT_GE(steps, 4);
    for (int step = 1; step <= steps; ++step) {
      SCOPED_TRACE("way " + std::to_string(int(way)) + ", failing step " + std::to_string(step));
      Fresh();
      FaultyFileSystem faulty(fs(), FaultyFileSystem::Mode::kFail, step);
      const bool replaced = Replace(faulty, way);
      EXPECT_EQ(Get("target"), replaced ? "the new bytes" : "the old bytes");
      // Only a removal that itself failed may leave something behind.
      if (!faulty.faultedARemoval()) {
        EXPECT_EQ(Names(), (std::vector<std::string>{"new.src", "target"}));
      }
      if (way != Way::kCopy) {
        EXPECT_FALSE(faulty.movedUnsyncedFile());
      }
    }
  }
}

}  // namespace
}  // namespace setup::testing
