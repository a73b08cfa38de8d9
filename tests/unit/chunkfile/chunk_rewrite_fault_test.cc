// A rewrite stopped at every one of its steps, by a failing call or by a crash, must leave the
// old file or the complete new one at the target, and only report success for the new one.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "chunkfile/chunk_test_support.h"
#include "chunkfile/chunk_writer.h"

namespace setup::testing {
namespace {

// Passes every call on to another FileSystem and counts the calls that change the disk, the
// writes, seeks and closes of files included. At one step it either fails that call alone
// (kFail), or crashes (kCrash): that call and every later change are dropped, as if the machine
// had stopped there. It also notes a file moved into place before its data was synced.
class FaultyFileSystem : public FileSystem {
 public:
  enum class Mode { kFail, kCrash };
  FaultyFileSystem(FileSystem& inner, Mode mode, int step) : inner_(inner), mode_(mode), faultStep_(step) {}

  int steps() const { return steps_; }
  bool movedUnsyncedFile() const { return movedUnsyncedFile_; }

  bool ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) override {
    return inner_.ReadWholeFile(path, data, size);
  }
  bool FileSize(const char* path, uint64_t* size) override { return inner_.FileSize(path, size); }
  bool ListFolder(const char* folder, FolderVisitor& visitor) override { return inner_.ListFolder(folder, visitor); }
  bool CurrentFolder(char* buffer, uint32_t capacity) override { return inner_.CurrentFolder(buffer, capacity); }
  bool ChangeFolder(const char* path) override { return Step() && inner_.ChangeFolder(path); }
  bool MakeFolder(const char* path) override { return Step() && inner_.MakeFolder(path); }
  bool RemoveEmptyFolder(const char* path) override { return Step() && inner_.RemoveEmptyFolder(path); }
  bool RemoveFile(const char* path) override { return Step() && inner_.RemoveFile(path); }
  std::unique_ptr<OutputFile> OpenForWriting(const char* path, WriteMode mode) override {
    if (!Step()) return nullptr;
    auto file = inner_.OpenForWriting(path, mode);
    if (!file) return nullptr;
    unsynced_.insert(path);
    return std::make_unique<File>(this, std::move(file), path);
  }
  bool CopyFileOver(const char* source, const char* destination) override {
    return Step() && inner_.CopyFileOver(source, destination);
  }
  bool SetNormalAttributes(const char* path) override { return Step() && inner_.SetNormalAttributes(path); }
  bool MoveOver(const char* from, const char* to) override {
    if (!Step() || !inner_.MoveOver(from, to)) return false;
    if (unsynced_.count(from) != 0) movedUnsyncedFile_ = true;
    return true;
  }

 private:
  class File : public OutputFile {
   public:
    File(FaultyFileSystem* owner, std::unique_ptr<OutputFile> inner, std::string path)
        : owner_(owner), inner_(std::move(inner)), path_(std::move(path)) {}
    bool Write(const void* data, uint32_t size) override {
      if (!owner_->Step() || !inner_->Write(data, size)) return false;
      owner_->unsynced_.insert(path_);
      return true;
    }
    bool Seek(uint64_t offset) override { return owner_->Step() && inner_->Seek(offset); }
    uint64_t Position() override { return inner_->Position(); }
    bool Close(bool sync) override {
      if (!owner_->Step()) {
        if (owner_->mode_ == Mode::kFail) inner_->Close(sync);  // a failed close still lets go
        return false;
      }
      if (!inner_->Close(sync)) return false;
      if (sync) owner_->unsynced_.erase(path_);
      return true;
    }

   private:
    FaultyFileSystem* owner_;
    std::unique_ptr<OutputFile> inner_;
    std::string path_;
  };

  // True if the call may go ahead.
  bool Step() {
    ++steps_;
    if (crashed_) return false;
    if (steps_ != faultStep_) return true;
    crashed_ = mode_ == Mode::kCrash;
    return false;
  }

  FileSystem& inner_;
  Mode mode_;
  int faultStep_;
  int steps_ = 0;
  bool crashed_ = false;
  std::set<std::string> unsynced_;
  bool movedUnsyncedFile_ = false;
};

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
