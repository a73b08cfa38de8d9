// The pool's own rules, with unpack functions that stand in for the engine's: entries retire in
// list order however their workers finish, the bytes in flight stay within their bound, and two
// spellings of one file never run at once.
#include "install/entry_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "archive/package_archive.h"
#include "base/text.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_view.h"
#include "install/progress.h"
#include "model/control_ids.h"
#include "platform/platform_fixture.h"

namespace setup {
namespace {

// Records where each entry's file was moved into place: the order the pool retires them in.
class PlacingFileSystem : public testing::FakeFileSystem {
 public:
  bool MoveOver(const char*, const char* to) override {
    placed.push_back(to);
    return true;
  }
  std::vector<std::string> placed;  // only the run's thread places
};

class EntryPoolTest : public ::testing::Test {
 protected:
  PlacingFileSystem fs_;
  PackageArchive archive_;
  testing::FakeView view_{{}};
  RunProgress progress_{view_};
  std::unique_ptr<Threads> threads_ = testing::MakeThreads();
};

// The entry "C:\app\0" holds its worker until the three after it have finished, or a while.
struct FinishOrder {
  std::mutex mutex;
  std::condition_variable changed;
  int finished = 0;
  bool othersFirst = false;
} order;

bool SlowFirstUnpack(const PackageArchive&, FileSystem&, MemoryStream&, const char*, const char* destination,
                     char* beside) {
  CopyText(beside, kPathCapacity, (std::string(destination) + ".new").c_str());
  std::unique_lock<std::mutex> lock(order.mutex);
  if (std::string(destination) == "C:\\app\\0") {
    order.othersFirst = order.changed.wait_for(lock, std::chrono::seconds(2), [] { return order.finished == 3; });
  } else {
    ++order.finished;
    order.changed.notify_all();
  }
  return true;
}

TEST_F(EntryPoolTest, EntriesRetireInListOrderWhateverOrderTheyFinishIn) {
  progress_.Begin(4);
  {
    EntryPool pool(fs_, archive_, progress_, threads_.get(), SlowFirstUnpack);
    for (const char* name : {"C:\\app\\0", "C:\\app\\1", "C:\\app\\2", "C:\\app\\3"}) {
      ASSERT_TRUE(pool.Add("entry", name, 1));
    }
    ASSERT_TRUE(pool.Finish());
    if (pool.workers() == 0) GTEST_SKIP() << "no threads to finish entries out of order";
  }
  EXPECT_TRUE(order.othersFirst);
  EXPECT_EQ(fs_.placed, (std::vector<std::string>{"C:\\app\\0", "C:\\app\\1", "C:\\app\\2", "C:\\app\\3"}));
  EXPECT_EQ(view_.positionHistory.back(), std::make_pair(IDC_PROGRESS, kProgressRange));  // all 4 counted
  // The percent text only ever grew: each step counted one more entry in order.
  std::vector<int> percents;
  for (const auto& text : view_.textHistory) percents.push_back(std::stoi(text.second));
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents.back(), 100);
}

// Each unpack notes the bytes in flight once it has started, itself included, and stays a moment.
struct Flight {
  std::mutex mutex;
  uint64_t bytes = 0;
  std::vector<std::pair<uint64_t, uint64_t>> starts;  // (its own bytes, all in flight then)
} flight;

uint64_t BytesOf(const char* destination) { return std::stoull(strrchr(destination, '\\') + 1); }

bool TimedUnpack(const PackageArchive&, FileSystem&, MemoryStream&, const char*, const char* destination,
                 char* beside) {
  beside[0] = '\0';
  const uint64_t bytes = BytesOf(destination);
  {
    std::lock_guard<std::mutex> lock(flight.mutex);
    flight.bytes += bytes;
    flight.starts.emplace_back(bytes, flight.bytes);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  std::lock_guard<std::mutex> lock(flight.mutex);
  flight.bytes -= bytes;
  return true;
}

TEST_F(EntryPoolTest, BytesInFlightStayWithinTwiceTheLargestQueuedAndTheCap) {
  constexpr uint64_t kMiB = 1 << 20;
  // Small entries; then ones of which two pass the cap, one larger than the cap itself and small
  // ones again. Each entry's bytes are its file's name.
  const std::vector<std::vector<uint64_t>> runs = {
      std::vector<uint64_t>(12, 1000),
      {20 * kMiB, 20 * kMiB, 20 * kMiB, 20 * kMiB, 40 * kMiB, 1000, 1000, 1000},
  };
  for (const auto& sizes : runs) {
    flight.starts.clear();
    {
      EntryPool pool(fs_, archive_, progress_, threads_.get(), TimedUnpack);
      for (size_t i = 0; i < sizes.size(); ++i) {
        const std::string destination = "C:\\app\\" + std::to_string(i) + "\\" + std::to_string(sizes[i]);
        ASSERT_TRUE(pool.Add("entry", destination.c_str(), sizes[i]));
      }
      ASSERT_TRUE(pool.Finish());
    }
    ASSERT_EQ(flight.starts.size(), sizes.size());
    uint64_t largest = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
      largest = std::max(largest, sizes[i]);
      const uint64_t own = flight.starts[i].first, inFlight = flight.starts[i].second;
      EXPECT_EQ(own, sizes[i]) << i;  // started in list order
      const uint64_t allowance = std::min(2 * largest, EntryPool::kBytesInFlight);
      // An entry starts within the allowance, or alone when it does not fit beside any other.
      EXPECT_TRUE(inFlight <= allowance || inFlight == own) << "entry " << i << ": " << inFlight << " in flight";
      if (sizes[i] >= 20 * kMiB) {
        EXPECT_EQ(inFlight, own) << "entry " << i << " beside another";
      }
    }
  }
}

// The first entry a pool unpacks waits a little for a second one to start beside it.
struct OverlapProbe {
  std::mutex mutex;
  std::condition_variable started;
  int unpacks = 0;
  bool together = false;
} probe;

bool ProbingUnpack(const PackageArchive&, FileSystem&, MemoryStream&, const char*, const char*, char* beside) {
  beside[0] = 0;
  std::unique_lock<std::mutex> lock(probe.mutex);
  if (++probe.unpacks == 1) {
    probe.together = probe.started.wait_for(lock, std::chrono::milliseconds(200), [] { return probe.unpacks > 1; });
  } else {
    probe.started.notify_all();
  }
  return true;
}

// Windows takes these spellings for one file, so their entries must never be written at once;
// different files still are.
TEST_F(EntryPoolTest, SpellingsOfOneFileAreNeverUnpackedTogether) {
  const struct {
    const char *first, *second;
    bool together;
  } cases[] = {
      {"C:\\app\\\x82\x60.txt", "C:\\app\\\x82\x81.txt", false},  // full-width A and a
      {"C:\\app\\\x83\x9f", "C:\\app\\\x83\xbf", false},          // Greek alpha
      {"C:\\app\\\x84\x4f", "C:\\app\\\x84\x80", false},          // Cyrillic o, past the gap at 0x7F
      {"C:\\app\\\x87\x54", "C:\\app\\\xfa\x4a", false},          // one Roman numeral, two codes
      {"C:\\app\\a\\b", "C:\\app\\a\\\\b", false},
      {"C:\\app\\a", "C:\\app\\.\\a", false},
      {"C:\\app\\a", "C:\\app\\x\\..\\a", false},
      {"C:\\app\\a.txt", "C:\\app\\A.txt. ", false},
      {"C:\\app\\dir.\\a", "C:\\app\\DIR/A", false},  // the resolver's table: base/windows_path_test.cc
      {"C:\\app\\program files\\a", "C:\\app\\PROGRA~1\\a", false},
      // ".." stops at the root: the drive, or a UNC path's server and share.
      {"C:\\..\\app\\a", "C:\\app\\a", false},
      {"C:/app/../../a", "C:\\a", false},
      {"\\\\srv\\share\\..\\a", "\\\\srv\\share\\a", false},
      {"//srv/share/../a", "\\\\srv\\share\\a", false},
      {"\\\\srv/share\\x\\..\\..\\a", "\\\\srv\\share\\a", false},
      {"\\\\?\\UNC\\srv\\share\\..\\a", "\\\\?\\UNC\\srv\\share\\a", false},  // taken as written
      {"\\\\srv\\share\\x\\..\\a", "\\\\srv\\share\\b", true},
      {"\\\\srv\\share\\a", "\\\\srv\\other\\a", true},
      {"C:\\app\\a", "C:\\app\\b", true},
      {"C:\\app\\\x83\x5c" "a", "C:\\app\\\x83\x5c\\a", true},  // "ソ" (83 5C) separates nothing
      {"C:\\app\\\x82\x60", "C:\\app\\\x82\x61", true},  // full-width A and B
  };
  for (const auto& c : cases) {
    probe.unpacks = 0;
    probe.together = false;
    {
      EntryPool pool(fs_, archive_, progress_, threads_.get(), ProbingUnpack);
      ASSERT_TRUE(pool.Add("entry", c.first, 1));
      ASSERT_TRUE(pool.Add("entry", c.second, 1));
      ASSERT_TRUE(pool.Finish());
      if (pool.workers() == 0) GTEST_SKIP() << "no threads to run entries together";
    }
    EXPECT_EQ(c.together, probe.together) << c.first << " and " << c.second;
  }
}

}  // namespace
}  // namespace setup
