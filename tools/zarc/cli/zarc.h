// zarc, the packer that makes the setup program's packages: the whole command line in one call.
#pragma once

#include "platform/file_system.h"
#include "zarc/system/console.h"

namespace zarc {

// Runs "zarc ARGS...": argv[0] is the program, the rest its arguments in the host's form (see
// host.h). Returns the exit status: 0 success, 1 failure, 2 a wrong command line.
int RunZarc(int argc, const char* const* argv, setup::FileSystem& files, Console& console);

}  // namespace zarc
