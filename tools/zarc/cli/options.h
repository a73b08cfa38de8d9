// How every command reads its line: options until "--", each known to take a value or not, and
// -h or --help asking for help; everything else is an operand.
#pragma once

#include <string>
#include <vector>

namespace zarc {

using Arguments = std::vector<std::string>;

struct OptionSpec {
  const char* name;
  const char* value;  // what the value is called in messages ("a NAME"); null when it takes none
};

struct ParsedArgument {
  enum Kind { kOperand, kOption, kHelp, kEndOfOptions, kUnknownOption, kMissingValue };
  Kind kind;
  std::string text;                    // the argument as given
  const OptionSpec* option = nullptr;  // kOption and kMissingValue
  std::string value;                   // kOption that takes one
};

// The arguments in order, read against options (which must outlive the result). A value is the
// argument after its option, whatever it looks like.
std::vector<ParsedArgument> ParseCommandLine(const Arguments& args,
                                             const std::vector<OptionSpec>& options);

// What is wrong with an unknown option or one missing its value, for a usage error.
std::string OptionProblem(const ParsedArgument& argument);

}  // namespace zarc
