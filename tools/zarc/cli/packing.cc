#include "zarc/cli/packing.h"

#include <memory>
#include <set>

#include "archive/archive_format.h"
#include "zarc/system/host.h"
#include "zarc/system/progress.h"
#include "zarc/pack/compressor.h"
#include "zarc/pack/entry_name.h"
#include "zarc/pack/folder_tree.h"
#include "zarc/pack/text_conversion.h"

namespace zarc {

const std::vector<OptionSpec> kPackingOptions = {
    {"--as", "a NAME"}, {"--external", "a NAME"}, {"--from-utf8", nullptr}, kMaxOption,
    kThreadsOption,
};

bool PackingArguments::Take(const ParsedArgument& argument, std::string* problem) {
  if (argument.kind == ParsedArgument::kEndOfOptions) return true;
  if (IsCompressionOption(argument)) return TakeCompressionOption(argument, &request_->compression, problem);
  if (argument.kind != ParsedArgument::kOperand && argument.kind != ParsedArgument::kOption) {
    *problem = OptionProblem(argument);
    return false;
  }
  if (argument.kind == ParsedArgument::kOperand) {
    request_->inputs.push_back({argument.text, haveAs_ ? as_ : std::string(), haveAs_});
    haveAs_ = false;
    return true;
  }
  if (argument.text == "--from-utf8") {
    request_->fromUtf8 = true;
    return true;
  }
  if (!NoAsPending(problem)) return false;
  if (argument.text == "--as") {
    as_ = argument.value;
    haveAs_ = true;
  } else {  // --external
    request_->inputs.push_back({std::string(), argument.value, false});
  }
  return true;
}

bool PackingArguments::NoAsPending(std::string* problem) const {
  if (haveAs_) *problem = "--as must be followed by a FILE";
  return !haveAs_;
}

namespace {

// One entry as the request asks for it.
struct PlannedEntry {
  std::string path;       // the file to pack, in the host's form; empty for an external entry
  std::string hostName;   // the entry's name in the host's form
  std::string entryName;  // the same in code page 932, once converted
  bool renamed = false;    // hostName came from --as
  bool named = false;      // entryName is set already (a file of a FOLDER)
  bool converted = false;  // text holds the entry's data, converted from UTF-8
  std::vector<uint8_t> text;
};

// Who a message is about: the file, or the option that named an external entry.
std::string Subject(const PlannedEntry& entry) {
  return entry.path.empty() ? "--external " + ShowHostName(entry.hostName) : ShowHostName(entry.path);
}

// The entries the inputs name, before any folder is read.
std::vector<PlannedEntry> Plan(const std::vector<PackingInput>& inputs) {
  std::vector<PlannedEntry> planned;
  for (const PackingInput& input : inputs) {
    PlannedEntry entry;
    entry.path = input.path;
    entry.hostName = input.renamed || input.path.empty() ? input.name : HostBaseName(input.path);
    entry.renamed = input.renamed;
    planned.push_back(std::move(entry));
  }
  return planned;
}

// Puts every file below each FOLDER in its place, named by the folder's rule. False after telling
// why a folder cannot be packed.
bool ExpandFolders(std::vector<PlannedEntry>& planned, setup::FileSystem& files, Console& console) {
  std::vector<PlannedEntry> expanded;
  std::string lastFolder;
  for (PlannedEntry& entry : planned) {
    if (entry.path.empty() || !IsListableFolder(files, entry.path)) {
      expanded.push_back(std::move(entry));
      continue;
    }
    if (entry.renamed) {
      Tell(console, Subject(entry) + ": is a folder; --as names a single file");
      return false;
    }
    lastFolder = entry.path;
    FolderTree tree;
    std::string problem;
    if (!ReadFolderTree(files, entry.path, &tree, &problem)) {
      Tell(console, problem);
      return false;
    }
    for (const FolderTree::File& file : tree.files) {
      PlannedEntry one;
      one.path = file.hostPath;
      one.entryName = file.entryName;
      one.named = true;
      HostNameFromEntry(file.entryName, &one.hostName);  // for messages
      expanded.push_back(std::move(one));
    }
  }
  planned.swap(expanded);
  if (planned.empty()) Tell(console, ShowHostName(lastFolder) + ": holds no file to pack");
  return !planned.empty();
}

// Converts and checks every entry name before any file is read. False after telling the first
// problem.
bool CheckNames(std::vector<PlannedEntry>& planned, Console& console) {
  if (planned.size() > setup::kMaxArchiveEntries) {
    Tell(console, std::to_string(planned.size()) + " entries given; an archive holds at most " +
                      std::to_string(setup::kMaxArchiveEntries));
    return false;
  }
  std::set<std::string> seen;
  for (PlannedEntry& entry : planned) {
    const std::string shownName = Quoted(ShowHostName(entry.hostName));
    if (!entry.named && !EntryNameFromHost(entry.hostName, &entry.entryName)) {
      Tell(console, Subject(entry) + ": the entry name " + shownName +
                        " has no code page 932 form");
      return false;
    }
    if (const char* problem = EntryNameProblem(entry.entryName)) {
      std::string detail;
      if (entry.entryName.size() >= setup::kEntryNameCapacity) {
        detail = " (" + std::to_string(entry.entryName.size()) + " bytes in code page 932)";
      }
      Tell(console, Subject(entry) + ": " + problem + ": " + shownName + detail);
      return false;
    }
    if (!seen.insert(entry.entryName).second) {
      Tell(console, Subject(entry) + ": the entry name " + shownName +
                        " is given twice (names must be unique)");
      return false;
    }
  }
  return true;
}

// Checks that every file is there and small enough before the slow part begins.
bool CheckFiles(const std::vector<PlannedEntry>& planned, setup::FileSystem& files,
                Console& console) {
  for (const PlannedEntry& entry : planned) {
    if (entry.path.empty()) continue;
    uint64_t size = 0;
    if (!files.FileSize(entry.path.c_str(), &size)) {
      Tell(console, Subject(entry) + ": cannot open it");
      return false;
    }
    if (size > kMaxFileSize) {
      Tell(console, Subject(entry) + ": it is 4 GiB or larger (" + std::to_string(size) +
                        " bytes); an entry must stay under 4 GiB");
      return false;
    }
  }
  return true;
}

// Reads the texts the setup program shows or parses and converts them from UTF-8. False after
// telling the first that cannot be read or holds a character with no code page 932 form.
bool ConvertTexts(std::vector<PlannedEntry>& planned, setup::FileSystem& files, Console& console) {
  for (PlannedEntry& entry : planned) {
    if (entry.path.empty() || !IsProgramText(entry.entryName)) continue;
    uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (!files.ReadWholeFile(entry.path.c_str(), &bytes, &size)) {
      Tell(console, Subject(entry) + ": cannot read it");
      return false;
    }
    const std::vector<uint8_t> utf8(bytes, bytes + size);
    delete[] bytes;
    TextRefusal refusal;
    if (!ConvertUtf8Text(utf8, &entry.text, &refusal)) {
      Tell(console, Subject(entry) + ": --from-utf8: " + DescribeRefusal(refusal));
      return false;
    }
    if (entry.text.size() > kMaxFileSize) {  // CR LF for LF can double a text
      Tell(console, Subject(entry) + ": --from-utf8: it would reach 4 GiB with CR LF");
      return false;
    }
    entry.converted = true;
  }
  return true;
}

// Reads and compresses the files of planned into entries. False after telling which file failed.
bool PackFiles(const std::vector<PlannedEntry>& planned, const CompressionChoice& compression,
               setup::FileSystem& files, Console& console, std::vector<PackedEntry>* entries) {
  std::vector<size_t> packed;  // the planned entries that name a file
  for (size_t i = 0; i < planned.size(); ++i) {
    if (!planned[i].path.empty()) packed.push_back(i);
  }
  bool readFailed = false;
  auto read = [&](size_t index, std::unique_ptr<uint8_t[]>* data, uint32_t* size) {
    const PlannedEntry& entry = planned[packed[index]];
    if (entry.converted) {
      data->reset(new uint8_t[entry.text.size() + 1]);
      std::copy(entry.text.begin(), entry.text.end(), data->get());
      *size = uint32_t(entry.text.size());
      (*entries)[packed[index]].fullSize = *size;
      return true;
    }
    uint8_t* bytes = nullptr;
    readFailed = !files.ReadWholeFile(planned[packed[index]].path.c_str(), &bytes, size);
    data->reset(bytes);
    if (!readFailed) (*entries)[packed[index]].fullSize = *size;
    return !readFailed;
  };
  uint64_t total = 0;
  for (size_t index : packed) {
    uint64_t size = 0;
    if (planned[index].converted) {
      total += planned[index].text.size();
    } else if (files.FileSize(planned[index].path.c_str(), &size)) {
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
    Tell(console, Subject(planned[packed[failed]]) +
                      (readFailed ? ": cannot read it" : ": cannot compress it (out of memory?)"));
    return false;
  }
  for (size_t i = 0; i < packed.size(); ++i) (*entries)[packed[i]].stream = std::move(streams[i]);
  return true;
}

}  // namespace

bool PackArchive(const PackingRequest& request, setup::FileSystem& files, Console& console,
                 PackedArchive* archive) {
  std::vector<PlannedEntry> planned = Plan(request.inputs);
  if (!ExpandFolders(planned, files, console) || !CheckNames(planned, console) ||
      !CheckFiles(planned, files, console)) {
    return false;
  }
  if (request.fromUtf8 && !ConvertTexts(planned, files, console)) return false;

  std::vector<PackedEntry>& entries = archive->entries;
  entries.assign(planned.size(), PackedEntry());
  for (size_t i = 0; i < planned.size(); ++i) {
    entries[i].name = planned[i].entryName;
    entries[i].external = planned[i].path.empty();
  }
  if (!PackFiles(planned, request.compression, files, console, &entries)) return false;
  std::vector<uint64_t> storedSizes(planned.size(), 0);
  for (size_t i = 0; i < planned.size(); ++i) storedSizes[i] = entries[i].stream.size();

  uint64_t imageSize = 0;
  size_t tooFar = 0;
  if (!LayOutArchive(storedSizes, &archive->offsets, &imageSize, &tooFar)) {
    const std::string where = tooFar < planned.size() ? Subject(planned[tooFar]) : "the index";
    Tell(console, ShowHostName(request.archiveName) + ": the archive would reach 4 GiB at " + where +
                      "; the setup program reads only smaller ones");
    return false;
  }
  return true;
}

std::vector<uint8_t> TakeArchiveImage(PackedArchive* archive) {
  std::vector<uint8_t> image = ArchiveHead(archive->entries, archive->offsets);
  for (PackedEntry& entry : archive->entries) {
    image.insert(image.end(), entry.stream.begin(), entry.stream.end());
    std::vector<uint8_t>().swap(entry.stream);  // keeps the peak near one copy of the streams
  }
  return image;
}

}  // namespace zarc
