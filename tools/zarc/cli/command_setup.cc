// zarc setup: writes a ready setup program, the stub with the package as its resource "ZARC" 135
// and the publisher's icon and version information. A stub it cannot rebuild and a package with
// errors are refused, and nothing is left behind.
#include <memory>

#include "archive/archive_format.h"
#include "model/control_ids.h"
#include "zarc/archive_file.h"
#include "zarc/commands.h"
#include "zarc/host.h"
#include "zarc/package_check.h"
#include "zarc/pe_image.h"
#include "zarc/replacing_file.h"
#include "zarc/setup_resources.h"

namespace zarc {

namespace {

const char kHelp[] =
    "Usage: zarc setup OUT.exe [OPTION]... FILE...\n"
    "       zarc setup OUT.exe [OPTION]... --package PACKAGE.zarc\n"
    "Writes the setup program OUT.exe: the setup program's stub with a package in it, made from\n"
    "the FILEs as \"zarc create\" makes one, or the package given. The package is checked as\n"
    "\"zarc check\" does; with errors nothing is written. The same inputs always give the same\n"
    "bytes, on every system.\n"
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
    "                   (and let it read the entries that --external leaves out). Without it,\n"
    "                   OUT.exe installs only the package inside it, whatever lies beside it\n"
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
  Arguments packing;  // what create takes after its archive's name
  bool folderOverrides = false;
};

const char kFolderOverrides[] = "--allow-folder-overrides";

// The options of setup's own that take a value, and where each goes.
std::string* SetupOption(const std::string& arg, SetupRequest* request) {
  if (arg == "--package") return &request->package;
  if (arg == "--stub") return &request->stub;
  if (arg == "--icon") return &request->icon;
  if (arg == "--product-version") return &request->productVersion;
  if (arg == "--company") return &request->company;
  if (arg == "--description") return &request->description;
  if (arg == "--copyright") return &request->copyright;
  return nullptr;
}

// Takes setup's own options and OUT; the rest goes to create's parser in request->packing. True
// when the command should go ahead; otherwise *status is the exit status.
bool ParseArguments(const Arguments& args, Console& console, SetupRequest* request, int* status) {
  *status = kExitUsage;
  auto usage = [&console](const std::string& problem) {
    UsageError(console, "setup", problem);
    return false;
  };
  bool optionsEnded = false;
  bool haveOut = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && IsHelpOption(arg)) {
      console.Print(kHelp);
      *status = kExitSuccess;
      return false;
    }
    if (!optionsEnded && arg == kFolderOverrides) {
      request->folderOverrides = true;
      continue;
    }
    if (std::string* value = optionsEnded ? nullptr : SetupOption(arg, request)) {
      if (i + 1 == args.size()) return usage(arg + " needs a value");
      *value = args[++i];
      continue;
    }
    const bool takesValue = arg == "--as" || arg == "--external" || arg == "--threads";
    if (!optionsEnded && takesValue && i + 1 < args.size()) {
      request->packing.push_back(arg);
      request->packing.push_back(args[++i]);
    } else if (!optionsEnded && IsOption(arg)) {
      optionsEnded = arg == "--";
      request->packing.push_back(arg);  // create's parser tells what is wrong with it
    } else if (!haveOut) {
      request->out = arg;
      haveOut = true;
    } else {
      request->packing.push_back(arg);
    }
  }
  if (!haveOut) return usage("no setup program to write");
  if (request->package.empty() && request->packing.empty()) {
    return usage("no files to pack (or a --package)");
  }
  if (!request->package.empty() && !request->packing.empty()) {
    return usage("--package takes the place of FILEs and of their packing options");
  }
  uint16_t version[4];
  if (!request->productVersion.empty() && !ParseVersionNumber(request->productVersion, version)) {
    return usage("--product-version takes up to four numbers from 0 to 65535 joined by dots, not " +
                 Quoted(ShowHostName(request->productVersion)));
  }
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

// The package made before: only a readable archive goes in.
bool LoadPackage(setup::FileSystem& files, Console& console, const std::string& path,
                 std::vector<uint8_t>* image) {
  if (!LoadBytes(files, console, path, image)) return false;
  auto archive = std::make_unique<LoadedArchive>();
  archive->image.reset(new uint8_t[image->size() + 1]);
  std::copy(image->begin(), image->end(), archive->image.get());
  archive->size = uint32_t(image->size());
  std::string why;
  if (IndexArchive(archive.get(), &why)) return true;
  Tell(console, ShowHostName(path) + ": " + why);
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
bool VersionInformation(const SetupRequest& request, const std::vector<uint8_t>& package,
                        Console& console, std::vector<Resource>* resources) {
  VersionStrings strings;
  if (!VersionText(console, "--product-version", request.productVersion, &strings.productVersion) ||
      !VersionText(console, "--company", request.company, &strings.company) ||
      !VersionText(console, "--description", request.description, &strings.description) ||
      !VersionText(console, "--copyright", request.copyright, &strings.copyright)) {
    return false;
  }
  // A caption that is not code page 932 shows garbled in the program too; it is simply left out.
  Utf16FromEntry(ScriptCaption(package), &strings.productName);
  uint16_t version[4] = {0, 0, 0, 0};
  if (!request.productVersion.empty()) {
    ParseVersionNumber(request.productVersion, version);
  } else if (const uint32_t scriptVersion = ScriptVersion(package)) {
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
bool ReportExternalEntries(const std::vector<uint8_t>& package, Console& console) {
  auto archive = std::make_unique<LoadedArchive>();
  archive->image.reset(new uint8_t[package.size() + 1]);
  std::copy(package.begin(), package.end(), archive->image.get());
  archive->size = uint32_t(package.size());
  std::string why;
  if (!IndexArchive(archive.get(), &why)) return false;
  bool found = false;
  for (uint32_t i = 0; i < archive->count; ++i) {
    if (archive->table[i].storedSize != 0) continue;
    Tell(console, Quoted(ShowEntryName(RecordName(archive->table[i]))) +
                      ": external, but the setup program reads no file of the folder it starts "
                      "from; pack the entry, or give " + kFolderOverrides);
    found = true;
  }
  return found;
}

// The "ZSRC" record: whether the program lets its current directory replace the package.
Resource PackageSources(bool folderOverrides) {
  uint8_t record[setup::kPackageSourcesSize];
  setup::WritePackageSources(folderOverrides, record);
  return Resource{ResourceText("ZARC"), ResourceId(IDR_PACKAGE_SOURCES), kResourceLanguage, 0,
                  std::vector<uint8_t>(record, record + sizeof record)};
}

}  // namespace

int SetupCommand(const Arguments& args, setup::FileSystem& files, Console& console) {
  SetupRequest request;
  int status = kExitUsage;
  if (!ParseArguments(args, console, &request, &status)) return status;

  // Everything that can be refused quickly is, before the slow packing.
  if (request.stub.empty() && !FindStub(files, console, &request.stub)) return kExitFailure;
  const std::string stubShown = ShowHostName(request.stub);
  std::vector<uint8_t> stubBytes;
  if (!LoadBytes(files, console, request.stub, &stubBytes)) return kExitFailure;
  ProgramImage stub;
  std::string why;
  if (!stub.Read(std::move(stubBytes), &why)) {
    Tell(console, stubShown + ": cannot be the setup program's stub: " + why);
    return kExitFailure;
  }
  std::vector<Resource> added;
  if (!request.icon.empty()) {
    std::vector<uint8_t> icon;
    if (!LoadBytes(files, console, request.icon, &icon)) return kExitFailure;
    if (!IconResources(icon, &added, &why)) {
      Tell(console, ShowHostName(request.icon) + ": " + why);
      return kExitFailure;
    }
  }

  std::vector<uint8_t> package;
  if (!request.package.empty()) {
    if (!LoadPackage(files, console, request.package, &package)) return kExitFailure;
  } else if (!PackArchive("setup", request.out, request.packing, files, console, &package,
                          &status)) {
    return status;
  }
  if (ReportFindings(CheckPackage(package), console)) {
    Tell(console, ShowHostName(request.out) + ": not written, since the package has errors");
    return kExitFailure;
  }
  if (!request.folderOverrides && ReportExternalEntries(package, console)) {
    Tell(console, ShowHostName(request.out) + ": not written, since it could not install every entry");
    return kExitFailure;
  }
  if (!VersionInformation(request, package, console, &added)) return kExitUsage;

  // The stub's own resources stay, except what the new ones replace; any package it carried goes,
  // since the program would look at a package named "files.zarc" before resource 135.
  auto adds = [&added](uint16_t type) {
    for (const Resource& r : added) {
      if (r.type == ResourceId(type)) return true;
    }
    return false;
  };
  bool hadPackage = false;
  std::vector<Resource> resources;
  for (const Resource& r : stub.resources()) {
    // A new icon group replaces the old icons too: Explorer shows the first group.
    const bool replaced = r.type == ResourceText("ZARC") ||
                          (adds(kIconGroupType) && (r.type == ResourceId(kIconType) ||
                                                    r.type == ResourceId(kIconGroupType))) ||
                          (adds(kVersionType) && r.type == ResourceId(kVersionType));
    hadPackage = hadPackage || r.type == ResourceText("ZARC");
    if (!replaced) resources.push_back(r);
  }
  resources.push_back(Resource{ResourceText("ZARC"), ResourceId(IDR_PACKAGE), kResourceLanguage, 0,
                               std::move(package)});
  resources.push_back(PackageSources(request.folderOverrides));
  for (Resource& r : added) resources.push_back(std::move(r));
  SortResources(&resources);

  std::vector<uint8_t> program;
  if (!stub.Rebuild(resources, &program, &why)) {
    Tell(console, ShowHostName(request.out) + ": " + why);
    return kExitFailure;
  }
  ReplacingFile file(files, request.out);
  if (!file.Open() || !file.Write(program) || !file.Commit()) {
    Tell(console, ShowHostName(request.out) + ": " + file.failure());
    return kExitFailure;
  }
  if (hadPackage) Tell(console, stubShown + ": the package it carried is replaced");
  if (stub.isSigned()) {
    Tell(console, stubShown + ": its signature is dropped, since it could not stay valid; sign " +
                      ShowHostName(request.out) + " again");
  }
  return kExitSuccess;
}

}  // namespace zarc
