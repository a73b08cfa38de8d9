// The program from start to end: package, script, record, installed test, pictures, main window,
// shutdown. Written once over the platform, so the host runs the same order as Windows.
#pragma once

namespace setup {

class FileSystem;
class Registry;
class ProgramProcess;
class ProgramResources;
struct SetupSession;

// Shows the main window modally over the session and returns when it has closed; or, for the
// uninstaller, runs it (RunUninstaller) and gives its exit code.
class MainWindowHost {
 public:
  virtual void RunMainWindow(SetupSession& session) = 0;
  virtual int RunUninstaller(SetupSession& session) = 0;

 protected:
  ~MainWindowHost() = default;
};

// 1 when executePath names an existing file, else 0 (also for an empty path).
int IsProgramInstalled(FileSystem& files, const char* executePath);

// Runs the whole program. Every failure before the main window ends it silently. The setup program
// returns 0, the uninstaller its own exit code.
int RunSetupProgram(FileSystem& files, Registry& registry, ProgramResources& resources, ProgramProcess& process,
                    MainWindowHost& mainWindow);

}  // namespace setup
