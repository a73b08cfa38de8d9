// The program from start to end: package, script, record, installed test, pictures, main window,
// shutdown. Written once over the platform, so the host runs the same order as Windows.
#pragma once

namespace setup {

class FileSystem;
class Registry;
class ProgramResources;
struct SetupSession;

// Shows the main window modally over the session and returns when it has closed.
class MainWindowHost {
 public:
  virtual void RunMainWindow(SetupSession& session) = 0;

 protected:
  ~MainWindowHost() = default;
};

// 1 when executePath names an existing file, else 0 (also for an empty path).
int IsProgramInstalled(FileSystem& files, const char* executePath);

// Runs the whole program. Every failure before the main window ends it silently. Always 0.
int RunSetupProgram(FileSystem& files, Registry& registry, ProgramResources& resources, MainWindowHost& mainWindow);

}  // namespace setup
