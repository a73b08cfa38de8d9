// The program from start to end: package, script, record, installed test, pictures, main window,
// shutdown. Written once over the platform, so the host runs the same order as Windows.
#pragma once

namespace setup {

// The package entries of the main window's pictures, which the program needs to start.
inline constexpr char kMainPictureEntry[] = "setup256.bmp";
inline constexpr char kPartsPictureEntry[] = "parts.bmp";

class FileSystem;
class Registry;
class ProgramResources;

// Shows the main window modally and returns when it has closed.
class MainWindowHost {
 public:
  virtual void RunMainWindow() = 0;

 protected:
  ~MainWindowHost() = default;
};

// 1 when executePath names an existing file, else 0 (also for an empty path).
int IsProgramInstalled(FileSystem& files);

// Runs the whole program. Every failure before the main window ends it silently. Always 0.
int RunSetupProgram(FileSystem& files, Registry& registry, ProgramResources& resources,
                    MainWindowHost& mainWindow, void* instance);

}  // namespace setup
