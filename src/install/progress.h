// The progress of an install run on the main window's bar and percent text: the one step that the
// engine's list walk and its pool of workers both take, so neither engine file needs the other.
#pragma once

#include <cstdint>

namespace setup {

class WindowView;

// The progress of a run counts the bytes of the files written, each file at least 1, so that
// empty files move it too.
inline uint64_t ProgressWork(uint64_t fileBytes) { return fileBytes != 0 ? fileBytes : 1; }

// Starts a run's progress over total units of work: the bar at its start and "0%".
void BeginProgress(WindowView& mainWindow, uint64_t total);

// Counts a file of fileBytes as written and shows the share of the run done: the bar's position
// and "N%", each only when what it shows changes. Both reach their end only with the last file.
void StepProgress(WindowView& mainWindow, uint64_t fileBytes);

// Shows the run done whole: the bar at its end and "100%".
void EndProgress(WindowView& mainWindow);

// Sets the position of the progress bar controlId of window.
void SetProgressPosition(WindowView& window, int controlId, int position);

}  // namespace setup
