// zarc zfil: one file compressed on its own, for a publisher to place beside the setup program,
// which delivers it decompressed in place of the archive entry of the same name.
#include <memory>

#include "archive/archive_format.h"
#include "zarc/archive_writer.h"
#include "zarc/commands.h"
#include "zarc/compressor.h"
#include "zarc/host.h"
#include "zarc/replacing_file.h"

namespace zarc {

namespace {

const char kHelpHead[] =
    "Usage: zarc zfil [OPTION]... IN OUT\n"
    "Compresses the file IN into the ZFIL file OUT. The setup program reads a ZFIL file found in\n"
    "its current directory decompressed, under OUT's name. OUT is replaced only once the new file\n"
    "is complete.\n"
    "\n";
const char kHelpTail[] =
    "  --               take every later argument as IN or OUT\n"
    "  -h, --help       show this help\n";

// The name field: IN's base name in code page 932 when it has that form and fits; otherwise the
// field stays zero, which the setup program does not mind since it never reads it.
std::string NameField(const std::string& in) {
  std::string name;
  if (!EntryNameFromHost(HostBaseName(in), &name)) return std::string();
  return name;
}

}  // namespace

int ZfilCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  std::vector<std::string> paths;
  CompressionChoice compression;
  std::string problem;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && IsCompressionOption(arg)) {
      if (!TakeCompressionOption(args, &i, &compression, &problem)) {
        return UsageError(console, "zfil", problem);
      }
    } else if (!optionsEnded && IsHelpOption(arg)) {
      console.Print(std::string(kHelpHead) + kCompressionHelp + kHelpTail);
      return kExitSuccess;
    } else if (!optionsEnded && IsOption(arg)) {
      return UsageError(console, "zfil", "unknown option " + Quoted(ShowHostName(arg)));
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() != 2) return UsageError(console, "zfil", "give IN and OUT");
  const std::string& in = paths[0];
  const std::string& out = paths[1];

  uint64_t fileSize = 0;
  if (!files.FileSize(in.c_str(), &fileSize)) {
    Tell(console, ShowHostName(in) + ": cannot open it");
    return kExitFailure;
  }
  if (fileSize > kMaxFileSize) {
    Tell(console, ShowHostName(in) + ": it is 4 GiB or larger; a ZFIL file must stay under 4 GiB");
    return kExitFailure;
  }
  uint32_t size = 0;
  bool readFailed = false;
  auto read = [&](size_t, std::unique_ptr<uint8_t[]>* data, uint32_t* length) {
    uint8_t* bytes = nullptr;
    readFailed = !files.ReadWholeFile(in.c_str(), &bytes, length);
    data->reset(bytes);
    size = *length;
    return !readFailed;
  };
  std::vector<std::vector<uint8_t>> streams;
  size_t failed = 0;
  if (!CompressInputs(compression.mode, compression.threads, 1, read, &streams, &failed)) {
    Tell(console, ShowHostName(in) +
                      (readFailed ? ": cannot read it" : ": cannot compress it (out of memory?)"));
    return kExitFailure;
  }
  const std::vector<uint8_t>& stream = streams[0];
  if (stream.size() > kMaxFileSize - setup::kZfilHeaderSize) {
    Tell(console, ShowHostName(out) + ": the ZFIL file would reach 4 GiB; the setup program "
                                      "reads only smaller ones");
    return kExitFailure;
  }

  ReplacingFile file(files, out);
  if (file.Open() && file.Write(ZfilHead(uint32_t(stream.size()), size, NameField(in))) &&
      file.Write(stream) && file.Commit()) {
    return kExitSuccess;
  }
  Tell(console, ShowHostName(out) + ": " + file.failure());
  return kExitFailure;
}

}  // namespace zarc
