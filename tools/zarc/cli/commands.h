// The zarc commands. Each takes the arguments after its name, in the host's form (see host.h), and
// returns the exit status.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "zarc/cli/options.h"
#include "zarc/system/console.h"
#include "zarc/pack/compressor.h"

namespace zarc {

enum ExitStatus : int {
  kExitSuccess = 0,
  kExitFailure = 1,  // the command ran and something was refused or went wrong
  kExitUsage = 2,    // the command line itself is wrong
};

int CreateCommand(const Arguments& args, setup::FileSystem& files, Console& console);
int ListCommand(const Arguments& args, setup::FileSystem& files, Console& console);
int ListFolderCommand(const Arguments& args, setup::FileSystem& files, Console& console);
int ExtractCommand(const Arguments& args, setup::FileSystem& files, Console& console);
int TestCommand(const Arguments& args, setup::FileSystem& files, Console& console);
int ZfilCommand(const Arguments& args, setup::FileSystem& files, Console& console);
int CheckCommand(const Arguments& args, setup::FileSystem& files, Console& console);
int RunSetupCommand(const Arguments& args, setup::FileSystem& files, Console& console);
int InitCommand(const Arguments& args, setup::FileSystem& files, Console& console);

// Tells what is wrong with the command line and where the help is; returns kExitUsage.
int UsageError(Console& console, const char* command, const std::string& problem);

// Reads a command line of exactly one path (called what in messages, such as "FILE") or a request
// for help. kTakePath with *path set, or the exit status to end with: help printed, or a usage
// error told.
constexpr int kTakePath = -1;
int TakeOnePath(const Arguments& args, Console& console, const char* command, const char* help,
                const char* what, std::string* path);

// How create and zfil compress: --max and --threads N.
struct CompressionChoice {
  Compression mode = Compression::kNormal;
  unsigned threads = DefaultThreadCount();
};
extern const OptionSpec kMaxOption;
extern const OptionSpec kThreadsOption;
bool IsCompressionOption(const ParsedArgument& argument);  // --max or --threads with its value
// Takes a compression option into *choice. False when it is wrong: then *problem says why.
bool TakeCompressionOption(const ParsedArgument& argument, CompressionChoice* choice,
                           std::string* problem);
// The help lines of those options.
extern const char kCompressionHelp[];

}  // namespace zarc
