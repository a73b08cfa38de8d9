#include "zarc/zarc_test_support.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "archive/archive_format.h"
#include "archive/entry_inflater.h"
#include "zarc/cli/zarc.h"

namespace zarc::testing {

RunResult Zarc(setup::FileSystem& files, const std::vector<std::string>& args) {
  std::vector<const char*> argv{"zarc"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  RecordingConsole console;
  const int status = RunZarc(int(argv.size()), argv.data(), files, console);
  return RunResult{status, console.out, console.err};
}

bool ReadArchiveBack(setup::FileSystem& files, const std::string& path,
                     std::vector<ReadEntry>* entries, std::string* image) {
  uint8_t* data = nullptr;
  uint32_t size = 0;
  if (!files.ReadWholeFile(path.c_str(), &data, &size)) return false;
  std::unique_ptr<uint8_t[]> owned(data);
  image->assign(reinterpret_cast<const char*>(data), size);
  std::vector<setup::ArchiveEntry> table(setup::kMaxArchiveEntries);
  uint32_t count = 0;
  if (!setup::ReadArchiveIndex(data, size, table.data(), &count)) return false;
  entries->clear();
  for (uint32_t i = 0; i < count; ++i) {
    const setup::ArchiveEntry& record = table[i];
    ReadEntry entry{std::string(record.name, strnlen(record.name, sizeof record.name)),
                    record.offset, record.storedSize, record.fullSize, false, std::string()};
    setup::EntryInflater inflater;
    if (record.storedSize != 0 && setup::EntryDataInside(record, size) &&
        inflater.Inflate(data + record.offset, record.storedSize, record.fullSize)) {
      std::unique_ptr<uint8_t[]> output(inflater.TakeOutput());
      entry.data.assign(reinterpret_cast<const char*>(output.get()), inflater.OutputLength());
      entry.inflated = inflater.OutputLength() == record.fullSize;
    }
    entries->push_back(entry);
  }
  return true;
}

std::string ReadZfilBack(const std::string& file) {
  const uint8_t* data = reinterpret_cast<const uint8_t*>(file.data());
  uint32_t stored = 0, full = 0;
  if (!setup::ReadZfilHeader(data, uint32_t(file.size()), &stored, &full)) return "<unreadable>";
  setup::EntryInflater inflater;
  if (!inflater.Inflate(data + 64, stored, full) || inflater.OutputLength() != full) {
    return "<unreadable>";
  }
  std::unique_ptr<uint8_t[]> output(inflater.TakeOutput());
  return std::string(reinterpret_cast<const char*>(output.get()), full);
}

namespace {
class NameCollector : public setup::FolderVisitor {
 public:
  bool Visit(const setup::FolderItem& item) override {
    names.push_back(item.name);
    return true;
  }
  std::vector<std::string> names;
};
}  // namespace

std::vector<std::string> FolderNames(setup::FileSystem& files, const std::string& folder) {
  NameCollector collector;
  files.ListFolder(folder.c_str(), collector);
  std::sort(collector.names.begin(), collector.names.end());
  return collector.names;
}

}  // namespace zarc::testing
