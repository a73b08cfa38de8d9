// zarc zfil: one file compressed on its own, for a publisher to place beside the setup program,
// which delivers it decompressed in place of the archive entry of the same name.
#include <memory>

#include "archive/archive_format.h"
#include "zarc/cli/commands.h"
#include "zarc/system/host.h"
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

// Reads the command line into IN, OUT and the compression. True to go ahead; otherwise *status
// is the exit status (help shown, or a usage error told).
bool ParseArguments(const Arguments& args, Console& console, std::string* in, std::string* out,
                    CompressionChoice* compression, int* status) {
  *status = kExitUsage;
  std::vector<std::string> paths;
  std::string problem;
  static const std::vector<OptionSpec> options = {kMaxOption, kThreadsOption};
  for (const ParsedArgument& arg : ParseCommandLine(args, options)) {
    if (arg.kind == ParsedArgument::kEndOfOptions) continue;
    if (IsCompressionOption(arg)) {
      if (!TakeCompressionOption(arg, compression, &problem)) {
        UsageError(console, "zfil", problem);
        return false;
      }
    } else if (arg.kind == ParsedArgument::kHelp) {
      console.Print(std::string(kHelpHead) + kCompressionHelp + kHelpTail);
      *status = kExitSuccess;
      return false;
    } else if (arg.kind != ParsedArgument::kOperand) {
      UsageError(console, "zfil", OptionProblem(arg));
      return false;
    } else {
      paths.push_back(arg.text);
    }
  }
  if (paths.size() != 2) {
    UsageError(console, "zfil", "give IN and OUT");
    return false;
  }
  *in = paths[0];
  *out = paths[1];
  return true;
}

// IN compressed into *stream, its size before in *size. False after telling why.
bool CompressFile(const std::string& in, const CompressionChoice& compression,
                  setup::FileSystem& files, Console& console, std::vector<uint8_t>* stream,
                  uint32_t* size) {
  uint64_t fileSize = 0;
  if (!files.FileSize(in.c_str(), &fileSize)) {
    Tell(console, ShowHostName(in) + ": cannot open it");
    return false;
  }
  if (fileSize > kMaxFileSize) {
    Tell(console, ShowHostName(in) + ": it is 4 GiB or larger; a ZFIL file must stay under 4 GiB");
    return false;
  }
  bool readFailed = false;
  auto read = [&](size_t, std::unique_ptr<uint8_t[]>* data, uint32_t* length) {
    uint8_t* bytes = nullptr;
    readFailed = !files.ReadWholeFile(in.c_str(), &bytes, length);
    data->reset(bytes);
    *size = *length;
    return !readFailed;
  };
  std::vector<std::vector<uint8_t>> streams;
  size_t failed = 0;
  if (!CompressInputs(compression.mode, compression.threads, 1, read, &streams, &failed)) {
    Tell(console, ShowHostName(in) +
                      (readFailed ? ": cannot read it" : ": cannot compress it (out of memory?)"));
    return false;
  }
  *stream = std::move(streams[0]);
  return true;
}

}  // namespace

int ZfilCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  std::string in, out;
  CompressionChoice compression;
  int status = kExitUsage;
  if (!ParseArguments(args, console, &in, &out, &compression, &status)) return status;
  std::vector<uint8_t> stream;
  uint32_t size = 0;
  if (!CompressFile(in, compression, files, console, &stream, &size)) return kExitFailure;
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
