// Packing files into an archive, as zarc create and zarc setup are asked for it: each command reads
// its line into a PackingRequest (its packing part through PackingArguments), and PackArchive
// carries the request out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "zarc/cli/commands.h"
#include "zarc/cli/options.h"
#include "zarc/system/console.h"
#include "zarc/pack/archive_writer.h"

namespace zarc {

// One FILE, FOLDER or --external NAME of the command line.
struct PackingInput {
  std::string path;      // the FILE or FOLDER in the host's form; empty for an external entry
  std::string name;      // the NAME of --external, or of --as when renamed, in the host's form
  bool renamed = false;  // the FILE is named by --as, not after itself
};

struct PackingRequest {
  std::string archiveName;           // what messages call the archive
  std::vector<PackingInput> inputs;  // in the order given
  CompressionChoice compression;
  bool fromUtf8 = false;
};

// The options of the packing part of a command line (FILEs and FOLDERs are operands).
extern const std::vector<OptionSpec> kPackingOptions;

// Reads the packing part of a command line into a request, one parsed argument at a time.
class PackingArguments {
 public:
  explicit PackingArguments(PackingRequest* request) : request_(request) {}

  // Takes an option of kPackingOptions, or an operand as a FILE or FOLDER; "--" is passed over.
  // False on a usage error, with *problem saying what is wrong.
  bool Take(const ParsedArgument& argument, std::string* problem);
  // False while an --as waits for its FILE (at the end of the line, or before an operand that is
  // no FILE), with *problem as above.
  bool NoAsPending(std::string* problem) const;

 private:
  PackingRequest* request_;
  bool haveAs_ = false;
  std::string as_;
};

// An archive ready to be written: its entries, with their streams, and where each goes.
struct PackedArchive {
  std::vector<PackedEntry> entries;
  std::vector<uint32_t> offsets;
};

// Names, reads, converts and compresses what the request asks for, and lays the archive out.
// False when refused, after telling why.
bool PackArchive(const PackingRequest& request, setup::FileSystem& files, Console& console,
                 PackedArchive* archive);

// The archive's whole image, its streams taken as they go in.
std::vector<uint8_t> TakeArchiveImage(PackedArchive* archive);

}  // namespace zarc
