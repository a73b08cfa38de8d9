// zarc create: packs files into a "ZARC" archive that the setup program reads correctly, or
// refuses, leaving no archive behind.
#include <memory>
#include <set>

#include "archive/archive_format.h"
#include "zarc/cli/commands.h"
#include "zarc/system/host.h"
#include "zarc/system/progress.h"
#include "zarc/pack/archive_writer.h"
#include "zarc/pack/compressor.h"
#include "zarc/pack/entry_name.h"
#include "zarc/pack/folder_tree.h"
#include "zarc/pack/replacing_file.h"
#include "zarc/pack/text_conversion.h"

namespace zarc {

namespace {

const char kHelpHead[] =
    "Usage: zarc create OUT.zarc [OPTION | FILE | FOLDER]...\n"
    "Packs each FILE into the archive OUT.zarc as an entry named after the file (the part after\n"
    "its last folder separator), in the order given. Entries are zlib streams, compressed in\n"
    "parallel; the same files always give the same archive.\n"
    "A FOLDER packs every file below it, sorted, each named by the shortest end of its path in\n"
    "the folder (whole folder names, joined by '\\') that no other file of the folder shares:\n"
    "LICENSE and sub\\LICENSE, x.pyd and core\\x.pyd. \"zarc list-folder\" writes the install\n"
    "list that matches.\n"
    "\n"
    "  --as NAME        name the entry of the next FILE NAME instead, e.g. --as \"data\\a.bin\"\n"
    "  --external NAME  add an entry NAME that the setup program reads from its current\n"
    "                   directory at run time (stored size 0)\n"
    "  --from-utf8      convert setup.txt and the licence from UTF-8 to code page 932 with\n"
    "                   CR LF, as the setup program reads them; a character that code page\n"
    "                   932 cannot hold is refused with its line\n";
const char kHelpTail[] =
    "  --               take every later argument as a FILE\n"
    "  -h, --help       show this help\n"
    "\n"
    "Entry names are stored in code page 932 and must be 1 to 51 bytes long there, without '/',\n"
    "and unique (letter case counts). An archive holds at most 512 entries and stays under 4 GiB.\n"
    "OUT.zarc is replaced only once the new archive is complete.\n";

}  // namespace

const std::vector<OptionSpec> kPackingOptions = {
    {"--as", "a NAME"}, {"--external", "a NAME"}, {"--from-utf8", nullptr}, kMaxOption,
    kThreadsOption,
};

namespace {

// One entry as the command line asks for it.
struct Request {
  std::string path;       // the file to pack, in the host's form; empty for an external entry
  std::string hostName;   // the entry's name in the host's form
  std::string entryName;  // the same in code page 932, once converted
  bool renamed = false;    // hostName came from --as
  bool named = false;      // entryName is set already (a file of a FOLDER)
  bool converted = false;  // text holds the entry's data, converted from UTF-8
  std::vector<uint8_t> text;
};

// Who a message is about: the file, or the option that named an external entry.
std::string Subject(const Request& request) {
  return request.path.empty() ? "--external " + ShowHostName(request.hostName)
                              : ShowHostName(request.path);
}

// Reads the command line into out and requests. True when packing should go ahead; otherwise
// *status is the exit status (help shown, or a usage error told).
bool ParseArguments(const char* command, const Arguments& args, Console& console,
                    std::string* out, std::vector<Request>* requests,
                    CompressionChoice* compression, bool* fromUtf8, int* status) {
  *status = kExitUsage;
  auto usage = [&console, command](const std::string& problem) {
    UsageError(console, command, problem);
    return false;
  };
  bool haveOut = !out->empty();
  bool haveAs = false;
  std::string as;
  std::string problem;
  for (const ParsedArgument& arg : ParseCommandLine(args, kPackingOptions)) {
    if (arg.kind == ParsedArgument::kEndOfOptions) continue;
    if (IsCompressionOption(arg)) {
      if (!TakeCompressionOption(arg, compression, &problem)) return usage(problem);
    } else if (arg.kind == ParsedArgument::kHelp) {
      console.Print(std::string(kHelpHead) + kCompressionHelp + kHelpTail);
      *status = kExitSuccess;
      return false;
    } else if (arg.kind != ParsedArgument::kOperand && arg.kind != ParsedArgument::kOption) {
      return usage(OptionProblem(arg));
    } else if (arg.text == "--from-utf8") {
      *fromUtf8 = true;
    } else if (arg.option != nullptr) {  // --as or --external
      if (haveAs) return usage("--as must be followed by a FILE");
      if (arg.text == "--as") {
        as = arg.value;
        haveAs = true;
      } else {
        Request request;
        request.hostName = arg.value;
        requests->push_back(request);
      }
    } else if (!haveOut) {
      if (haveAs) return usage("--as must be followed by a FILE");
      *out = arg.text;
      haveOut = true;
    } else {
      Request request;
      request.path = arg.text;
      request.hostName = haveAs ? as : HostBaseName(arg.text);
      request.renamed = haveAs;
      requests->push_back(request);
      haveAs = false;
    }
  }
  if (haveAs) return usage("--as must be followed by a FILE");
  if (!haveOut) return usage("no archive to create");
  if (requests->empty()) return usage("no files to pack");
  return true;
}

// Puts every file below each FOLDER in its place, named by the folder's rule. False after telling
// why a folder cannot be packed.
bool ExpandFolders(std::vector<Request>& requests, setup::FileSystem& files, Console& console) {
  std::vector<Request> expanded;
  std::string lastFolder;
  for (Request& request : requests) {
    if (request.path.empty() || !IsListableFolder(files, request.path)) {
      expanded.push_back(std::move(request));
      continue;
    }
    if (request.renamed) {
      Tell(console, Subject(request) + ": is a folder; --as names a single file");
      return false;
    }
    lastFolder = request.path;
    FolderTree tree;
    std::string problem;
    if (!ReadFolderTree(files, request.path, &tree, &problem)) {
      Tell(console, problem);
      return false;
    }
    for (const FolderTree::File& file : tree.files) {
      Request one;
      one.path = file.hostPath;
      one.entryName = file.entryName;
      one.named = true;
      HostNameFromEntry(file.entryName, &one.hostName);  // for messages
      expanded.push_back(std::move(one));
    }
  }
  requests.swap(expanded);
  if (requests.empty()) Tell(console, ShowHostName(lastFolder) + ": holds no file to pack");
  return !requests.empty();
}

// Converts and checks every entry name before any file is read. False after telling the first
// problem.
bool CheckNames(std::vector<Request>& requests, Console& console) {
  if (requests.size() > setup::kMaxArchiveEntries) {
    Tell(console, std::to_string(requests.size()) + " entries given; an archive holds at most " +
                      std::to_string(setup::kMaxArchiveEntries));
    return false;
  }
  std::set<std::string> seen;
  for (Request& request : requests) {
    const std::string shownName = Quoted(ShowHostName(request.hostName));
    if (!request.named && !EntryNameFromHost(request.hostName, &request.entryName)) {
      Tell(console, Subject(request) + ": the entry name " + shownName +
                        " has no code page 932 form");
      return false;
    }
    if (const char* problem = EntryNameProblem(request.entryName)) {
      std::string detail;
      if (request.entryName.size() >= setup::kEntryNameCapacity) {
        detail = " (" + std::to_string(request.entryName.size()) + " bytes in code page 932)";
      }
      Tell(console, Subject(request) + ": " + problem + ": " + shownName + detail);
      return false;
    }
    if (!seen.insert(request.entryName).second) {
      Tell(console, Subject(request) + ": the entry name " + shownName +
                        " is given twice (names must be unique)");
      return false;
    }
  }
  return true;
}

// Checks that every file is there and small enough before the slow part begins.
bool CheckFiles(const std::vector<Request>& requests, setup::FileSystem& files,
                Console& console) {
  for (const Request& request : requests) {
    if (request.path.empty()) continue;
    uint64_t size = 0;
    if (!files.FileSize(request.path.c_str(), &size)) {
      Tell(console, Subject(request) + ": cannot open it");
      return false;
    }
    if (size > kMaxFileSize) {
      Tell(console, Subject(request) + ": it is 4 GiB or larger (" + std::to_string(size) +
                        " bytes); an entry must stay under 4 GiB");
      return false;
    }
  }
  return true;
}

// Reads the texts the setup program shows or parses and converts them from UTF-8. False after
// telling the first that cannot be read or holds a character with no code page 932 form.
bool ConvertTexts(std::vector<Request>& requests, setup::FileSystem& files, Console& console) {
  for (Request& request : requests) {
    if (request.path.empty() || !IsProgramText(request.entryName)) continue;
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (!files.ReadWholeFile(request.path.c_str(), &bytes, &size)) {
      Tell(console, Subject(request) + ": cannot read it");
      return false;
    }
    const std::vector<uint8_t> utf8(bytes, bytes + size);
    delete[] bytes;
    TextRefusal refusal;
    if (!ConvertUtf8Text(utf8, &request.text, &refusal)) {
      Tell(console, Subject(request) + ": --from-utf8: " + DescribeRefusal(refusal));
      return false;
    }
    if (request.text.size() > kMaxFileSize) {  // CR LF for LF can double a text
      Tell(console, Subject(request) + ": --from-utf8: it would reach 4 GiB with CR LF");
      return false;
    }
    request.converted = true;
  }
  return true;
}

// Reads and compresses the files of requests into entries. False after telling which file failed.
bool PackFiles(const std::vector<Request>& requests, const CompressionChoice& compression,
               setup::FileSystem& files, Console& console, std::vector<PackedEntry>* entries) {
  std::vector<size_t> packed;  // requests that name a file
  for (size_t i = 0; i < requests.size(); ++i) {
    if (!requests[i].path.empty()) packed.push_back(i);
  }
  bool readFailed = false;
  auto read = [&](size_t index, std::unique_ptr<uint8_t[]>* data, uint32_t* size) {
    const Request& request = requests[packed[index]];
    if (request.converted) {
      data->reset(new uint8_t[request.text.size() + 1]);
      std::copy(request.text.begin(), request.text.end(), data->get());
      *size = uint32_t(request.text.size());
      (*entries)[packed[index]].fullSize = *size;
      return true;
    }
    uint8_t* bytes = nullptr;
    readFailed = !files.ReadWholeFile(requests[packed[index]].path.c_str(), &bytes, size);
    data->reset(bytes);
    if (!readFailed) (*entries)[packed[index]].fullSize = *size;
    return !readFailed;
  };
  uint64_t total = 0;
  for (size_t index : packed) {
    uint64_t size = 0;
    if (requests[index].converted) {
      total += requests[index].text.size();
    } else if (files.FileSize(requests[index].path.c_str(), &size)) {
      total += size;
    }
  }
  std::vector<std::vector<uint8_t>> streams;
  size_t failed = 0;
  bool compressed;
  {
    Progress progress(console, "packing", total);  // gone before any message
    compressed = CompressInputs(compression.mode, compression.threads, packed.size(), read,
                                &streams, &failed,
                                [&progress](uint64_t bytes) { progress.Advance(bytes); });
  }
  if (!compressed) {
    Tell(console, Subject(requests[packed[failed]]) +
                      (readFailed ? ": cannot read it" : ": cannot compress it (out of memory?)"));
    return false;
  }
  for (size_t i = 0; i < packed.size(); ++i) (*entries)[packed[i]].stream = std::move(streams[i]);
  return true;
}

bool WriteArchive(const std::string& out, const std::vector<PackedEntry>& entries,
                  const std::vector<uint32_t>& offsets, setup::FileSystem& files,
                  Console& console) {
  ReplacingFile file(files, out);
  bool ok = file.Open() && file.Write(ArchiveHead(entries, offsets));
  for (size_t i = 0; ok && i < entries.size(); ++i) ok = file.Write(entries[i].stream);
  if (ok && file.Commit()) return true;
  Tell(console, ShowHostName(out) + ": " + file.failure());
  return false;
}

// Everything create does before writing: the packed entries and where they go in the archive.
// *out is the archive's name: taken from args when empty.
bool PackEntries(const char* command, const Arguments& args, setup::FileSystem& files,
                 Console& console, std::string* out, std::vector<PackedEntry>* entries,
                 std::vector<uint32_t>* offsets, int* status) {
  std::vector<Request> requests;
  CompressionChoice compression;
  bool fromUtf8 = false;
  if (!ParseArguments(command, args, console, out, &requests, &compression, &fromUtf8, status)) {
    return false;
  }
  *status = kExitFailure;
  if (!ExpandFolders(requests, files, console) || !CheckNames(requests, console) ||
      !CheckFiles(requests, files, console)) {
    return false;
  }
  if (fromUtf8 && !ConvertTexts(requests, files, console)) return false;

  entries->assign(requests.size(), PackedEntry());
  for (size_t i = 0; i < requests.size(); ++i) {
    (*entries)[i].name = requests[i].entryName;
    (*entries)[i].external = requests[i].path.empty();
  }
  if (!PackFiles(requests, compression, files, console, entries)) return false;
  std::vector<uint64_t> storedSizes(requests.size(), 0);
  for (size_t i = 0; i < requests.size(); ++i) storedSizes[i] = (*entries)[i].stream.size();

  uint64_t imageSize = 0;
  size_t tooFar = 0;
  if (!LayOutArchive(storedSizes, offsets, &imageSize, &tooFar)) {
    const std::string where = tooFar < requests.size() ? Subject(requests[tooFar]) : "the index";
    Tell(console, ShowHostName(*out) + ": the archive would reach 4 GiB at " + where +
                      "; the setup program reads only smaller ones");
    return false;
  }
  return true;
}

}  // namespace

int CreateCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  std::string out;
  std::vector<PackedEntry> entries;
  std::vector<uint32_t> offsets;
  int status = kExitUsage;
  if (!PackEntries("create", args, files, console, &out, &entries, &offsets, &status)) {
    return status;
  }
  return WriteArchive(out, entries, offsets, files, console) ? kExitSuccess : kExitFailure;
}

bool PackArchive(const char* command, const std::string& archiveName, const Arguments& args,
                 setup::FileSystem& files, Console& console, std::vector<uint8_t>* image,
                 int* status) {
  std::string out = archiveName;
  std::vector<PackedEntry> entries;
  std::vector<uint32_t> offsets;
  if (!PackEntries(command, args, files, console, &out, &entries, &offsets, status)) return false;
  *image = ArchiveHead(entries, offsets);
  for (PackedEntry& entry : entries) {
    image->insert(image->end(), entry.stream.begin(), entry.stream.end());
    std::vector<uint8_t>().swap(entry.stream);  // keeps the peak near one copy of the streams
  }
  return true;
}

}  // namespace zarc
