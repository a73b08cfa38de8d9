// zarc setup: writes a ready setup program, the stub with the package as its resource "ZARC" 135
// and the publisher's icon and version information. A stub it cannot rebuild and a package with
// errors are refused, and nothing is left behind.
#include <memory>

#include "zarc/archive/archive_file.h"
#include "zarc/check/package.h"
#include "zarc/check/package_check.h"
#include "zarc/cli/commands.h"
#include "zarc/cli/packing.h"
#include "zarc/system/host.h"
#include "zarc/pack/replacing_file.h"
#include "zarc/pe/icon_version.h"
#include "zarc/pe/pe_image.h"
#include "zarc/stub/stub_rules.h"

namespace zarc {

namespace {

const char kHelp[] =
    "Usage: zarc setup OUT.exe [OPTION]... (FILE | FOLDER)...\n"
    "       zarc setup OUT.exe [OPTION]... --package PACKAGE.zarc\n"
    "Writes the setup program OUT.exe: the setup program's stub with a package in it, made from\n"
    "the FILEs and every file below each FOLDER as \"zarc create\" makes one, or the package\n"
    "given. The package is checked as \"zarc check\" does; with errors nothing is written.\n"
    "The same inputs always give the same bytes, on every system.\n"
    "\n"
    "  --package FILE   put in this package, made before, instead of packing FILEs\n"
    "  --as NAME, --external NAME, --max, --threads N, --from-utf8\n"
    "                   as for \"zarc create\" (see \"zarc create --help\")\n"
    "  --icon FILE      the program's icon, shown by Explorer (an .ico file)\n"
    "  --product-version N[.N[.N[.N]]]   (default: the script's #V)\n"
    "  --company TEXT, --description TEXT, --copyright TEXT\n"
    "                   version information shown by Explorer; the product name is the\n"
    "                   caption that the install script sets (#T)\n"
    "  --allow-folder-overrides\n"
    "                   let the files of the folder OUT.exe is started from replace its package:\n"
    "                   a files.zarc the whole package, a file named like an entry that entry\n"
    "                   (and let it read the entries that --external leaves out, and the\n"
    "                   sources of #C and #H given as relative paths). Without it, OUT.exe\n"
    "                   installs only the package inside it, whatever lies beside it\n"
    "  --stub FILE      the stub to use (default: setup-stub.exe beside zarc, or in\n"
    "                   ../share/zarc from it)\n"
    "  --               take every later argument as a FILE\n"
    "  -h, --help       show this help\n"
    "\n"
    "A signed stub loses its signature, which could not stay valid: sign OUT.exe afterwards.\n"
    "OUT.exe is replaced only once the new program is complete.\n";

const char kStubName[] = "setup-stub.exe";
constexpr size_t kMaxVersionText = 1000;  // UTF-16 units; far more than Explorer shows

struct SetupRequest {
  std::string out;
  std::string package;  // --package, or empty to pack
  std::string stub;
  std::string icon;
  std::string productVersion;
  std::string company, description, copyright;
  PackingRequest packing;  // the FILEs and FOLDERs to pack, when there is no --package
  bool folderOverrides = false;
};

const char kFolderOverrides[] = "--allow-folder-overrides";

// Setup's own options that take a value, each with where it goes.
const std::vector<OptionSpec> kValueOptions = {
    {"--package", "a value"}, {"--stub", "a value"},   {"--icon", "a value"},
    {"--product-version", "a value"}, {"--company", "a value"},
    {"--description", "a value"}, {"--copyright", "a value"},
};
std::string* ValueOf(const std::string& option, SetupRequest* request) {
  std::string* const values[] = {&request->package, &request->stub, &request->icon,
                                 &request->productVersion, &request->company,
                                 &request->description, &request->copyright};
  for (size_t i = 0; i < kValueOptions.size(); ++i) {
    if (option == kValueOptions[i].name) return values[i];
  }
  return nullptr;
}

// Setup's own options and the packing options.
std::vector<OptionSpec> SetupOptions() {
  std::vector<OptionSpec> options = kValueOptions;
  options.push_back({kFolderOverrides, nullptr});
  options.insert(options.end(), kPackingOptions.begin(), kPackingOptions.end());
  return options;
}

// Reads the command line into request: setup's own options and OUT, then the packing part. True
// when the command should go ahead; otherwise *status is the exit status.
bool ParseArguments(const Arguments& args, Console& console, SetupRequest* request, int* status) {
  *status = kExitUsage;
  auto usage = [&console](const std::string& problem) {
    UsageError(console, "setup", problem);
    return false;
  };
  static const std::vector<OptionSpec> options = SetupOptions();
  std::vector<ParsedArgument> packing;  // read once setup's own are found right
  bool haveOut = false;
  for (const ParsedArgument& arg : ParseCommandLine(args, options)) {
    std::string* value = ValueOf(arg.text, request);
    if (arg.kind == ParsedArgument::kHelp) {
      console.Print(kHelp);
      *status = kExitSuccess;
      return false;
    } else if (arg.kind == ParsedArgument::kOption && arg.text == kFolderOverrides) {
      request->folderOverrides = true;
    } else if (arg.kind == ParsedArgument::kOption && value != nullptr) {
      *value = arg.value;
    } else if (arg.kind == ParsedArgument::kMissingValue && value != nullptr) {
      return usage(OptionProblem(arg));
    } else if (arg.kind == ParsedArgument::kOperand && !haveOut) {
      request->out = arg.text;
      haveOut = true;
    } else {
      packing.push_back(arg);
    }
  }
  if (!haveOut) return usage("no setup program to write");
  if (request->package.empty() && packing.empty()) {
    return usage("no files to pack (or a --package)");
  }
  if (!request->package.empty() && !packing.empty()) {
    return usage("--package takes the place of FILEs and of their packing options");
  }
  uint16_t version[4];
  if (!request->productVersion.empty() && !ParseVersionNumber(request->productVersion, version)) {
    return usage("--product-version takes up to four numbers from 0 to 65535 joined by dots, not " +
                 Quoted(ShowHostName(request->productVersion)));
  }
  if (!request->package.empty()) return true;
  request->packing.archiveName = request->out;
  PackingArguments packingArguments(&request->packing);
  std::string problem;
  for (const ParsedArgument& arg : packing) {
    if (!packingArguments.Take(arg, &problem)) return usage(problem);
  }
  if (!packingArguments.NoAsPending(&problem)) return usage(problem);
  if (request->packing.inputs.empty()) return usage("no files to pack");
  return true;
}

// The stub beside zarc, or in ../share/zarc from it, where an installed zarc keeps it.
bool FindStub(setup::FileSystem& files, Console& console, std::string* stub) {
  const std::string folder = ProgramFolder();
  if (folder.empty()) {
    Tell(console, "cannot tell where zarc is, to find setup-stub.exe beside it; name it with --stub");
    return false;
  }
  const std::string share = JoinHostPath(JoinHostPath(JoinHostPath(folder, ".."), "share"), "zarc");
  for (const std::string& place : {folder, share}) {
    uint64_t size = 0;
    *stub = JoinHostPath(place, kStubName);
    if (files.FileSize(stub->c_str(), &size)) return true;
  }
  Tell(console, std::string("no ") + kStubName + " in " + ShowHostName(folder) + " nor in " +
                    ShowHostName(share) + "; name one with --stub");
  return false;
}

bool LoadBytes(setup::FileSystem& files, Console& console, const std::string& path,
               std::vector<uint8_t>* bytes) {
  std::unique_ptr<uint8_t[]> data;
  uint32_t size = 0;
  std::string why;
  if (!LoadFile(files, path, &data, &size, &why)) {
    Tell(console, ShowHostName(path) + ": " + why);
    return false;
  }
  bytes->assign(data.get(), data.get() + size);
  return true;
}

// The package: the one made before, or packed now from the FILEs; only a readable archive goes in.
// False after telling why.
bool OpenInputPackage(const SetupRequest& request, setup::FileSystem& files, Console& console,
                      Package* package) {
  std::vector<uint8_t> image;
  if (request.package.empty()) {
    PackedArchive packed;
    if (!PackArchive(request.packing, files, console, &packed)) return false;
    image = TakeArchiveImage(&packed);
  } else if (!LoadBytes(files, console, request.package, &image)) {
    return false;
  }
  std::string why;
  if (package->Open(std::move(image), &why)) return true;
  Tell(console, ShowHostName(request.package.empty() ? request.out : request.package) + ": " + why);
  return false;
}

bool VersionText(Console& console, const char* option, const std::string& host,
                 std::u16string* text) {
  if (Utf16FromHost(host, text) && text->size() <= kMaxVersionText) return true;
  UsageError(console, "setup", std::string(option) + ": the text is not valid or longer than " +
                                   std::to_string(kMaxVersionText) + " characters");
  return false;
}

// Adds the version information to resources when there is any. False after a usage error.
bool VersionInformation(const SetupRequest& request, Package& package, Console& console,
                        std::vector<Resource>* resources) {
  VersionStrings strings;
  if (!VersionText(console, "--product-version", request.productVersion, &strings.productVersion) ||
      !VersionText(console, "--company", request.company, &strings.company) ||
      !VersionText(console, "--description", request.description, &strings.description) ||
      !VersionText(console, "--copyright", request.copyright, &strings.copyright)) {
    return false;
  }
  // A caption that is not code page 932 shows garbled in the program too; it is simply left out.
  Utf16FromEntry(package.Caption(), &strings.productName);
  uint16_t version[4] = {0, 0, 0, 0};
  if (!request.productVersion.empty()) {
    ParseVersionNumber(request.productVersion, version);
  } else if (const uint32_t scriptVersion = package.Version()) {
    // The release number the program records, as the first part of the fixed version; one beyond
    // the 16 bits of a part is split over the first two.
    Utf16FromHost(std::to_string(scriptVersion), &strings.productVersion);
    version[0] = uint16_t(scriptVersion > 0xFFFF ? scriptVersion >> 16 : scriptVersion);
    version[1] = uint16_t(scriptVersion > 0xFFFF ? scriptVersion & 0xFFFF : 0);
  }
  if (strings.productName.empty() && strings.productVersion.empty() && strings.company.empty() &&
      strings.description.empty() && strings.copyright.empty()) {
    return true;
  }
  resources->push_back(VersionResource(strings, version));
  return true;
}

// A program that reads nothing from its folder can never install an entry left external.
bool ReportExternalEntries(const Package& package, Console& console) {
  const LoadedArchive& archive = package.records();
  bool found = false;
  for (uint32_t i = 0; i < archive.count(); ++i) {
    if (archive.record(i).storedSize != 0) continue;
    Tell(console, Quoted(ShowEntryName(RecordName(archive.record(i)))) +
                      ": external, but the setup program reads no file of the folder it starts "
                      "from; pack the entry, or give " + kFolderOverrides);
    found = true;
  }
  return found;
}

// The stub, read and found to be the setup program's. False after telling why.
bool ReadStub(const SetupRequest& request, setup::FileSystem& files, Console& console,
              ProgramImage* stub) {
  std::vector<uint8_t> bytes;
  if (!LoadBytes(files, console, request.stub, &bytes)) return false;
  std::string why;
  if (stub->Read(std::move(bytes), &why) && IsSetupStub(stub->resources(), &why)) return true;
  Tell(console, ShowHostName(request.stub) + ": cannot be the setup program's stub: " + why);
  return false;
}

// The icon's resources, when --icon names one. False after telling why.
bool ReadIcon(const SetupRequest& request, setup::FileSystem& files, Console& console,
              std::vector<Resource>* added) {
  if (request.icon.empty()) return true;
  std::vector<uint8_t> icon;
  if (!LoadBytes(files, console, request.icon, &icon)) return false;
  std::string why;
  if (IconResources(icon, added, &why)) return true;
  Tell(console, ShowHostName(request.icon) + ": " + why);
  return false;
}

// Refuses a package with errors, and one with entries the program could never install.
bool AcceptPackage(const SetupRequest& request, Package& package, Console& console) {
  std::vector<Finding> findings = CheckPackage(package);
  // What the program would read from the folder it starts from: asked for with the option, and
  // without it an entry the program fails, whose files could be anyone's (a downloads folder).
  std::vector<Finding> kept;
  for (Finding& finding : findings) {
    if (finding.readsStartFolder && request.folderOverrides) continue;
    if (finding.readsStartFolder) finding.error = true;
    kept.push_back(std::move(finding));
  }
  if (ReportFindings(kept, console)) {
    Tell(console, ShowHostName(request.out) + ": not written, since the package has errors");
    return false;
  }
  if (!request.folderOverrides && ReportExternalEntries(package, console)) {
    Tell(console, ShowHostName(request.out) + ": not written, since it could not install every entry");
    return false;
  }
  return true;
}

bool WriteProgram(const SetupRequest& request, const ProgramImage& stub,
                  const std::vector<Resource>& resources, setup::FileSystem& files,
                  Console& console) {
  std::vector<uint8_t> program;
  std::string why;
  if (!stub.Rebuild(resources, &program, &why)) {
    Tell(console, ShowHostName(request.out) + ": " + why);
    return false;
  }
  ReplacingFile file(files, request.out);
  if (file.Open() && file.Write(program) && file.Commit()) return true;
  Tell(console, ShowHostName(request.out) + ": " + file.failure());
  return false;
}

}  // namespace

int RunSetupCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  SetupRequest request;
  int status = kExitUsage;
  if (!ParseArguments(args, console, &request, &status)) return status;

  // Everything that can be refused quickly is, before the slow packing.
  if (request.stub.empty() && !FindStub(files, console, &request.stub)) return kExitFailure;
  ProgramImage stub;
  std::vector<Resource> added;
  if (!ReadStub(request, files, console, &stub) || !ReadIcon(request, files, console, &added)) {
    return kExitFailure;
  }
  Package package;
  if (!OpenInputPackage(request, files, console, &package)) return kExitFailure;
  if (!AcceptPackage(request, package, console)) return kExitFailure;
  if (!VersionInformation(request, package, console, &added)) return kExitUsage;

  bool hadPackage = false;
  const std::vector<Resource> resources = SetupProgramResources(
      stub.resources(), package.TakeImage(), request.folderOverrides, std::move(added), &hadPackage);
  if (!WriteProgram(request, stub, resources, files, console)) return kExitFailure;
  const std::string stubShown = ShowHostName(request.stub);
  if (hadPackage) Tell(console, stubShown + ": the package it carried is replaced");
  if (stub.isSigned()) {
    Tell(console, stubShown + ": its signature is dropped, since it could not stay valid; sign " +
                      ShowHostName(request.out) + " again");
  }
  return kExitSuccess;
}

}  // namespace zarc
