// One reading of every command line: which arguments are options, which take the next argument as
// their value whatever it looks like, and where the options end.
#include "zarc/cli/options.h"

#include <gtest/gtest.h>

namespace zarc {
namespace {

// Each parsed argument as KIND:TEXT[=VALUE], joined by spaces.
std::string Read(const Arguments& args) {
  static const std::vector<OptionSpec> options = {{"--as", "a NAME"}, {"--max", nullptr}};
  const char* const kinds[] = {"operand", "option", "help", "end", "unknown", "missing"};
  std::string shown;
  for (const ParsedArgument& arg : ParseCommandLine(args, options)) {
    shown += std::string(shown.empty() ? "" : " ") + kinds[arg.kind] + ":" + arg.text;
    if (arg.kind == ParsedArgument::kOption && arg.option->value != nullptr)
      shown += "=" + arg.value;
  }
  return shown;
}

TEST(ZarcOptions, ReadsEveryCommandLineTheSameWay) {
  EXPECT_EQ("option:--as=--max option:--max operand:- operand:a",
            Read({"--as", "--max", "--max", "-", "a"}));
  EXPECT_EQ("help:-h end:-- operand:--as operand:-h operand:--",
            Read({"-h", "--", "--as", "-h", "--"}));
  EXPECT_EQ("unknown:--bogus missing:--as", Read({"--bogus", "--as"}));
  static const std::vector<OptionSpec> as = {{"--as", "a NAME"}};
  const std::vector<ParsedArgument> wrong = ParseCommandLine({"--bogus", "--as"}, as);
  EXPECT_EQ("unknown option \"--bogus\"", OptionProblem(wrong[0]));
  EXPECT_EQ("--as needs a NAME", OptionProblem(wrong[1]));
}

}  // namespace
}  // namespace zarc
