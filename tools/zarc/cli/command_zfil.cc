// zarc zfil: one file compressed on its own, for a publisher to place beside the setup program,
// which delivers it decompressed in place of the archive entry of the same name.
#include <memory>

#include "archive/archive_format.h"
#include "zarc/cli/commands.h"
#include "zarc/host/host.h"
#include "zarc/pack/archive_writer.h"
#include "zarc/pack/compressor.h"
#include "zarc/pack/replacing_file.h"

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
  static const std::vector<OptionSpec> options = {kMaxOption, kThreadsOption};
  for (const ParsedArgument& arg : ParseCommandLine(args, options)) {
    if (arg.kind == ParsedArgument::kEndOfOptions) continue;
    if (IsCompressionOption(arg)) {
      if (!TakeCompressionOption(arg, &compression, &problem)) {
        return UsageError(console, "zfil", problem);
      }
    } else if (arg.kind == ParsedArgument::kHelp) {
      console.Print(std::string(kHelpHead) + kCompressionHelp + kHelpTail);
      return kExitSuccess;
    } else if (arg.kind != ParsedArgument::kOperand) {
      return UsageError(console, "zfil", OptionProblem(arg));
    } else {
      paths.push_back(arg.text);
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
