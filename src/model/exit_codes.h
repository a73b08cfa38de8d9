// The program's exit codes: those of Windows Installer, which package managers and deployment
// tools already read.
#pragma once

namespace setup {

constexpr int kExitSuccess = 0;
constexpr int kExitCancelled = 1602;        // the user ended it without changing anything
constexpr int kExitFailed = 1603;
constexpr int kExitNotInstalled = 1605;     // nothing for the uninstaller to remove
constexpr int kExitAlreadyRunning = 1618;   // another run for the same product

}  // namespace setup
