#include <iconv.h>
#include <stdio.h>
#include <stdlib.h>

#include <cstring>

#include "base/byte_order.h"
#include "install/shortcut_probe.h"
#include "platform/platform_fixture.h"
#include "platform/memory/host_shell.h"
#include "platform/posix/posix_file_system.h"

namespace setup::testing {

namespace {

// lnkinfo prints UTF-8; the program's text is code page 932.
std::string Utf8ToCp932(const std::string& text) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == iconv_t(-1)) return "<no converter>";
  std::string out(text.size() + 1, '\0');
  char* in = const_cast<char*>(text.data());
  char* put = &out[0];
  size_t inLeft = text.size(), outLeft = out.size();
  size_t result = iconv(converter, &in, &inLeft, &put, &outLeft);
  iconv_close(converter);
  if (result == size_t(-1)) return "<not code page 932>";
  out.resize(out.size() - outLeft);
  return out;
}

// The value of a "\tName\t\t: value" line of lnkinfo's output.
bool FindValue(const std::string& output, const std::string& name, std::string* value) {
  size_t at = output.find("\t" + name + "\t");
  if (at == std::string::npos) return false;
  size_t colon = output.find(": ", at);
  size_t end = output.find('\n', at);
  if (colon == std::string::npos || colon > end) return false;
  *value = Utf8ToCp932(output.substr(colon + 2, end - colon - 2));
  return true;
}

// A shell that owns the file system its shortcuts are written through.
class OwningHostShell : public HostShell {
 public:
  explicit OwningHostShell(std::unique_ptr<FileSystem> files) : HostShell(*files), files_(std::move(files)) {}

 private:
  std::unique_ptr<FileSystem> files_;
};

}  // namespace

std::unique_ptr<Shell> MakePlatformShell(const std::string& desktop, const std::string& programs) {
  auto shell = std::make_unique<OwningHostShell>(MakeFileSystem());
  shell->SetSpecialFolder(SpecialFolder::kDesktop, desktop);
  shell->SetSpecialFolder(SpecialFolder::kPrograms, programs);
  return shell;
}

ShortcutRead ReadShortcut(const std::string& path, ShortcutFields* fields) {
  if (system("command -v lnkinfo >/dev/null 2>&1") != 0) return ShortcutRead::kNoReader;
  auto fs = MakeFileSystem();
  std::string host;
  if (!static_cast<PosixFileSystem&>(*fs).ToHostPath(path.c_str(), &host)) return ShortcutRead::kUnreadable;
  // Code page 932 for any ANSI string, as a Japanese system writes them.
  std::string command = "lnkinfo -c windows-932 '" + host + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return ShortcutRead::kNoReader;
  std::string output;
  char chunk[4096];
  for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, got);
  if (pclose(pipe) != 0) return ShortcutRead::kUnreadable;
  if (!FindValue(output, "Local path", &fields->target) ||
      !FindValue(output, "Working directory", &fields->workingDirectory)) {
    return ShortcutRead::kUnreadable;
  }
  // This lnkinfo shows the file-size field as the show command, so the field is read where the
  // format puts it: offset 60 of the header.
  uint8_t* data = nullptr;
  uint32_t size = 0;
  if (!fs->ReadWholeFile(path.c_str(), &data, &size)) return ShortcutRead::kUnreadable;
  if (size >= 64) fields->showCommand = int(LoadLE32(data + 60));
  delete[] data;
  return ShortcutRead::kRead;
}

bool ShellKeepsJapaneseTargets() { return true; }

}  // namespace setup::testing
