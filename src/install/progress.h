// The progress of an install run on the main window's bar and percent text: the one step that the
// engine's list walk and its pool of workers both take, so neither engine file needs the other.
#pragma once

#include <cstdint>

namespace setup {

class WindowView;

// The progress bar runs from 0 to this.
constexpr int32_t kProgressRange = 255;

// The progress of a run counts the bytes of the files written, each file at least 1, so that
// empty files move it too.
inline uint64_t ProgressWork(uint64_t fileBytes) { return fileBytes != 0 ? fileBytes : 1; }

// What the bar and the percent text show, kept by the main window from one run to the next so
// that each shows a change only. One thread at a time: the run's.
class RunProgress {
 public:
  explicit RunProgress(WindowView& window) : window_(window) {}

  // Starts a run over total units of work: the bar at its start and "0%".
  void Begin(uint64_t total);
  // Counts a file of fileBytes as written and shows the share of the run done: the bar's position
  // and "N%", each only when what it shows changes. Both reach their end only with the last file.
  void Step(uint64_t fileBytes);
  // Shows the run done whole: the bar at its end and "100%".
  void End();

 private:
  void Show(int32_t position, int32_t percent);

  WindowView& window_;
  int32_t position_ = 0;  // the position the bar shows
  int32_t percent_ = 0;   // the number the percent text shows
  uint64_t total_ = 0;    // the run's work, and the part of it done
  uint64_t done_ = 0;
};

}  // namespace setup
