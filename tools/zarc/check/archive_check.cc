// The archive check: every record one the program can deliver.
#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "zarc/check/check_run.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

// Inflates the records marked in which, on every processor, and writes into (*problems)[i] why
// record i cannot be read. On one thread the check took as long again as a tenth of the packing.
// Largest first, so that one big entry is not left to a single thread at the end; and without
// the output, since new memory of each entry's size costs page faults.
void InflateRecords(const LoadedArchive& archive, const std::vector<char>& which,
                    std::vector<std::string>* problems) {
  std::vector<uint32_t> order;
  for (uint32_t i = 0; i < archive.count(); ++i) {
    if (which[i]) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&archive](uint32_t a, uint32_t b) {
    return archive.record(a).fullSize > archive.record(b).fullSize;
  });
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t at; (at = next++) < order.size();) {
      const uint32_t i = order[at];
      std::string why;
      if (!CheckRecord(archive, i, &why))
        (*problems)[i] = why.empty() ? "it cannot be inflated" : why;
    }
  };
  const unsigned threads = std::min(std::max(std::thread::hardware_concurrency(), 1u), 8u);
  std::vector<std::thread> helpers;
  try {
    while (helpers.size() + 1 < threads) helpers.emplace_back(work);
  } catch (const std::system_error&) {
    // Fewer threads only take longer.
  }
  work();
  for (std::thread& helper : helpers) helper.join();
}

}  // namespace

void CheckRecords(CheckRun& run) {
  const LoadedArchive& archive = run.package.records();
  std::string why;
  std::vector<std::string> problems(archive.count());
  std::vector<char> hidden(archive.count(), 0), inflated(archive.count(), 0);
  for (uint32_t i = 0; i < archive.count(); ++i) {
    problems[i] = RecordProblem(archive, i);
    const std::string name = RecordName(archive.record(i));
    for (uint32_t later = i + 1; later < archive.count() && !hidden[i]; ++later) {
      hidden[i] = setup::EntryNameIs(archive.record(later), name.c_str());
    }
    inflated[i] = !hidden[i] && problems[i].empty() && archive.record(i).storedSize != 0;
  }
  InflateRecords(archive, inflated, &problems);
  for (uint32_t i = 0; i < archive.count(); ++i) {
    const std::string name = RecordName(archive.record(i));
    why = problems[i];
    if (hidden[i]) {  // the later record is the one the program reads, and is checked on its own
      run.Warn(name, 0, "entry " + std::to_string(i) + " is never read: " + why);
      continue;
    }
    if (why.empty() && archive.record(i).storedSize == 0) {
      run.external.insert(name);
      continue;
    }
    if (why.empty()) continue;
    run.Error(name, 0, "entry " + std::to_string(i) + " cannot be read: " + why);
    run.bad.insert(name);
  }
}

bool LoadNeeded(CheckRun& run, const std::string& name, const std::string& missing,
                std::vector<uint8_t>* bytes) {
  const setup::PackageArchive& archive = *run.package.archive();
  if (!archive.Has(name.c_str())) {
    run.Error(name, 0, "not in the package: " + missing);
    return false;
  }
  if (run.external.count(name) != 0) {
    run.Warn(name, 0,
             "external: the setup program reads it from its own folder at run time, so "
             "it is not checked here");
    return false;
  }
  setup::MemoryStream stream;
  if (run.bad.count(name) != 0 || !archive.Load(name.c_str(), stream)) return false;
  const uint8_t* data = stream.CurrentData();
  bytes->assign(data, data + stream.Size());
  return true;
}

}  // namespace zarc
