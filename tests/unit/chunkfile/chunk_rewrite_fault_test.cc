// A rewrite stopped at every one of its steps, by a failing call or by a crash, must leave the
// old file or the complete new one at the target, and only report success for the new one.
#include <gtest/gtest.h>

#include <string>

#include "chunkfile/chunk_test_support.h"
#include "chunkfile/chunk_writer.h"
#include "fakes/faulty_file_system.h"

namespace setup::testing {
namespace {

class ChunkRewriteFaultTest : public ChunkFileTest {
 protected:
  // The old file holds a chunk that is rewritten and two that are carried over.
  const std::string old_ = ChunkFile("RNKS", {{"KTBL", "old table"}, {"OPTN", "options"}, {"XTRA", Filler(33, 5)}});
  const std::string new_ =
      ChunkFile("RNKS", {{"KTBL", "new table!"}, {"EMPT", ""}, {"OPTN", "options"}, {"XTRA", Filler(33, 5)}});

  // Runs the whole rewrite, every call even after a failure; true if every call succeeded.
  bool Rewrite(FileSystem& files) {
    ChunkWriter writer(files);
    bool ok = writer.Open(Path("save.dat").c_str(), Id("RNKS"));
    ok &= writer.BeginChunk(Id("KTBL"));
    ok &= writer.Write("new ", 4);
    ok &= writer.Write("table!", 6);
    ok &= writer.EndChunk();
    ok &= writer.BeginChunk(Id("EMPT"));
    ok &= writer.EndChunk();
    ok &= writer.Close();
    return ok;
  }
  int StepsOfACleanRewrite() {
    RemoveAllFiles();
    Put("save.dat", old_);
    FaultyFileSystem counting(fs(), FaultyFileSystem::Mode::kFail, 0);
    EXPECT_TRUE(Rewrite(counting));
    EXPECT_EQ(Get("save.dat"), new_);
    return counting.steps();
  }
};

INSTANTIATE_TEST_SUITE_P(, ChunkRewriteFaultTest, ::testing::Values(Storage::kMemory, Storage::kDisk),
                         StorageName);

TEST_P(ChunkRewriteFaultTest, AFailedStepLeavesTheOldFileAndNoTemporaryFile) {
  const int steps = StepsOfACleanRewrite();
  ASSERT_GT(steps, 10);
  int failures = 0;
  for (int step = 1; step <= steps; ++step) {
    SCOPED_TRACE("failing step " + std::to_string(step));
    RemoveAllFiles();
    Put("save.dat", old_);
    FaultyFileSystem faulty(fs(), FaultyFileSystem::Mode::kFail, step);
    if (Rewrite(faulty)) {
      EXPECT_EQ(Get("save.dat"), new_);
    } else {
      ++failures;
      EXPECT_EQ(Get("save.dat"), old_);
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"save.dat"});
    EXPECT_FALSE(faulty.movedUnsyncedFile());
  }
  // Only a failure to create the first temporary name can be got round (by the next name).
  EXPECT_EQ(failures, steps - 1);
}

TEST_P(ChunkRewriteFaultTest, ACrashAtAnyStepLeavesTheOldOrTheNewFileWhole) {
  const int steps = StepsOfACleanRewrite();
  ASSERT_GT(steps, 10);
  int oldSeen = 0, newSeen = 0;
  for (int step = 1; step <= steps + 1; ++step) {
    SCOPED_TRACE("crash at step " + std::to_string(step));
    RemoveAllFiles();
    Put("save.dat", old_);
    {
      FaultyFileSystem crashing(fs(), FaultyFileSystem::Mode::kCrash, step);
      Rewrite(crashing);
      EXPECT_FALSE(crashing.movedUnsyncedFile());
    }
    const std::string after = Get("save.dat");
    oldSeen += after == old_;
    newSeen += after == new_;
    EXPECT_TRUE(after == old_ || after == new_);

    // After the restart the rewrite goes through, whatever the crash left behind.
    EXPECT_TRUE(Rewrite(fs()));
    EXPECT_EQ(Get("save.dat"), new_);
  }
  // Until the final move the old file stands; after it, the new one.
  EXPECT_EQ(oldSeen, steps);
  EXPECT_EQ(newSeen, 1);
}

}  // namespace
}  // namespace setup::testing
