#pragma once

namespace setup {

// Makes every later DLL load by name search the system folder only (the program's folder and
// the current directory never). Call before anything that may load a DLL. False on a system
// without that setting, where only the current directory is taken out of the search.
bool RestrictDllSearchToSystemFolder();

}  // namespace setup
