// zarc on POSIX: arguments and file names are UTF-8.
#include "platform/posix/posix_file_system.h"
#include "zarc/cli/zarc.h"
#include "zarc/system/console.h"

int main(int argc, char** argv) {
  setup::PosixFileSystem files;
  zarc::StdioConsole console;
  return zarc::RunZarc(argc, argv, files, console);
}
