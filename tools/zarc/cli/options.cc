#include "zarc/cli/options.h"

#include "zarc/system/console.h"
#include "zarc/system/host.h"

namespace zarc {

namespace {

bool IsOptionText(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

}  // namespace

std::vector<ParsedArgument> ParseCommandLine(const Arguments& args,
                                             const std::vector<OptionSpec>& options) {
  std::vector<ParsedArgument> parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    ParsedArgument argument{ParsedArgument::kOperand, args[i], nullptr, std::string()};
    const std::string& arg = args[i];
    if (optionsEnded || !IsOptionText(arg)) {
      parsed.push_back(argument);
      continue;
    }
    argument.kind = ParsedArgument::kUnknownOption;
    if (arg == "--") {
      argument.kind = ParsedArgument::kEndOfOptions;
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      argument.kind = ParsedArgument::kHelp;
    }
    for (const OptionSpec& option : options) {
      if (argument.kind != ParsedArgument::kUnknownOption || arg != option.name) continue;
      argument.option = &option;
      argument.kind = ParsedArgument::kOption;
      if (option.value == nullptr) break;
      if (i + 1 == args.size()) {
        argument.kind = ParsedArgument::kMissingValue;
      } else {
        argument.value = args[++i];
      }
      break;
    }
    parsed.push_back(argument);
  }
  return parsed;
}

std::string OptionProblem(const ParsedArgument& argument) {
  if (argument.kind == ParsedArgument::kMissingValue) {
    return argument.text + " needs " + argument.option->value;
  }
  return "unknown option " + Quoted(ShowHostName(argument.text));
}

}  // namespace zarc
