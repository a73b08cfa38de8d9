// Running zarc in tests: the command line through RunZarc on real temporary folders, with what it
// printed kept, and archives read back with the setup program's own reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "zarc/system/console.h"

namespace zarc::testing {

class RecordingConsole : public Console {
 public:
  void Print(const std::string& text) override { out += text; }
  void Complain(const std::string& text) override { err += text; }
  std::string out;
  std::string err;
};

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

// Runs "zarc args...". Arguments are in the host's form.
RunResult Zarc(setup::FileSystem& files, const std::vector<std::string>& args);

// The host's form of a code page 932 name, converted without zarc's own code: UTF-8 on POSIX,
// the bytes themselves on Windows.
std::string HostForm(const std::string& cp932);

// A file of tests/data, as a path for the platform's FileSystem.
std::string TestDataPath(const std::string& name);

// One entry of an archive file as the setup program's reader sees it.
struct ReadEntry {
  std::string name;
  uint32_t offset;
  uint32_t storedSize;
  uint32_t fullSize;
  bool inflated;     // EntryInflater succeeded with exactly fullSize bytes
  std::string data;  // the inflated bytes
};

// Reads the archive at path with ReadArchiveIndex and EntryInflater. False if the file or its
// index cannot be read.
bool ReadArchiveBack(setup::FileSystem& files, const std::string& path,
                     std::vector<ReadEntry>* entries, std::string* image);

// What the setup program's reader makes of a "ZFIL" file: its data, or "<unreadable>".
std::string ReadZfilBack(const std::string& file);

// The names in a folder, sorted.
std::vector<std::string> FolderNames(setup::FileSystem& files, const std::string& folder);

}  // namespace zarc::testing
