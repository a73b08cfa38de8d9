#include "zarc/cli/zarc.h"

#include "zarc/cli/commands.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

const char kHelp[] =
    "Usage: zarc COMMAND [ARGS...]\n"
    "Makes and checks the packages of the setup program.\n"
    "\n"
    "Commands:\n"
    "  create OUT.zarc [--max] [--threads N] [--from-utf8] [--as NAME] FILE...\n"
    "                  [--external NAME]... [FOLDER]...\n"
    "                  pack files, and every file below each FOLDER, into a ZARC archive\n"
    "  list ARCHIVE    show the entries of an archive\n"
    "  list-folder [--into SCRIPT] FOLDER\n"
    "                  write the #F and #I lines that install FOLDER as packed\n"
    "  extract [-C DIR] ARCHIVE [NAME...]\n"
    "                  write entries out as files\n"
    "  test FILE       check that every entry of an archive, or a ZFIL file,\n"
    "                  decompresses to exactly its full size\n"
    "  zfil [--max] IN OUT\n"
    "                  compress one file into a ZFIL file\n"
    "  setup OUT.exe [OPTION]... FILE... | --package PACKAGE.zarc\n"
    "                  write a setup program with the package in it\n"
    "  check PACKAGE   report what the setup program would make of a package:\n"
    "                  errors and warnings, with entry and line\n"
    "  init [--name NAME] [--from FOLDER] DIR\n"
    "                  write a starter project: script, licence, readme, pictures\n"
    "\n"
    "\"zarc COMMAND --help\" tells more about each command; \"zarc --version\" prints the\n"
    "version.\n"
    "Exit status: 0 success, 1 failure, 2 wrong command line.\n";

// More threads than this only cost memory.
constexpr unsigned kMaxThreads = 256;

struct Command {
  const char* name;
  int (*run)(const Arguments& args, setup::FileSystem& files, Console& console);
};

const Command kCommands[] = {
    {"create", CreateCommand}, {"list", ListCommand}, {"list-folder", ListFolderCommand}, {"extract", ExtractCommand},
    {"test", TestCommand},     {"zfil", ZfilCommand},     {"setup", RunSetupCommand},
    {"check", CheckCommand},   {"init", InitCommand},
};

}  // namespace

int UsageError(Console& console, const char* command, const std::string& problem) {
  Tell(console, std::string(command) + ": " + problem);
  console.Complain(std::string("Try \"zarc ") + command + " --help\".\n");
  return kExitUsage;
}

int TakeOnePath(const Arguments& args, Console& console, const char* command, const char* help,
                const char* what, std::string* path) {
  path->clear();
  static const std::vector<OptionSpec> none;
  for (const ParsedArgument& arg : ParseCommandLine(args, none)) {
    if (arg.kind == ParsedArgument::kHelp) {
      console.Print(help);
      return kExitSuccess;
    }
    if (arg.kind == ParsedArgument::kEndOfOptions) continue;
    if (arg.kind != ParsedArgument::kOperand) return UsageError(console, command, OptionProblem(arg));
    if (!path->empty()) return UsageError(console, command, std::string("one ") + what + " at a time");
    *path = arg.text;
  }
  if (path->empty()) return UsageError(console, command, std::string("no ") + what + " given");
  return kTakePath;
}

const char kCompressionHelp[] =
    "  --max            maximum compression: libdeflate's highest level, a few percent\n"
    "                   smaller and several times slower (only in builds with libdeflate)\n"
    "  --threads N      compress on N threads (default: one per processor); the output\n"
    "                   is the same whatever N\n";

const OptionSpec kMaxOption = {"--max", nullptr};
const OptionSpec kThreadsOption = {"--threads", "a number"};

bool IsCompressionOption(const ParsedArgument& argument) {
  return argument.option != nullptr &&
         (argument.text == kMaxOption.name || argument.text == kThreadsOption.name);
}

bool TakeCompressionOption(const ParsedArgument& argument, CompressionChoice* choice,
                           std::string* problem) {
  if (argument.kind == ParsedArgument::kMissingValue) {
    *problem = OptionProblem(argument);
    return false;
  }
  if (argument.text == kMaxOption.name) {
    if (!MaximumCompressionAvailable()) {
      *problem = "--max: this zarc was built without libdeflate, which maximum compression needs";
      return false;
    }
    choice->mode = Compression::kMaximum;
    return true;
  }
  const std::string& value = argument.value;
  unsigned threads = 0;
  for (char c : value) {
    if (c < '0' || c > '9' || threads > kMaxThreads) {
      threads = 0;
      break;
    }
    threads = threads * 10 + unsigned(c - '0');
  }
  if (threads == 0 || threads > kMaxThreads) {
    *problem = "--threads takes a number from 1 to " + std::to_string(kMaxThreads) + ", not " +
               Quoted(ShowHostName(value));
    return false;
  }
  choice->threads = threads;
  return true;
}

int RunZarc(int argc, const char* const* argv, setup::FileSystem& files, Console& console) {
  if (argc < 2) {
    Tell(console, "no command given");
    console.Complain("Try \"zarc --help\".\n");
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    console.Print(kHelp);
    return kExitSuccess;
  }
  if (name == "--version") {
    console.Print("zarc " ZARC_VERSION "\n");
    return kExitSuccess;
  }
  for (const Command& command : kCommands) {
    if (name == command.name) return command.run(Arguments(argv + 2, argv + argc), files, console);
  }
  Tell(console, "unknown command " + Quoted(ShowHostName(name)));
  console.Complain("Try \"zarc --help\".\n");
  return kExitUsage;
}

}  // namespace zarc
