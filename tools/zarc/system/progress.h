// Progress of a long step, as bytes done of the total, on one line of standard error that is
// rewritten in place; shown only when a person watches (Console::ShowsProgress), so logs and
// pipes get nothing.
#pragma once

#include <cstdint>
#include <string>

#include "zarc/system/console.h"

namespace zarc {

class Progress {
 public:
  Progress(Console& console, const std::string& what, uint64_t total);
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  ~Progress();  // clears the line

  // Counts bytes more as done. Not thread-safe: callers serialise.
  void Advance(uint64_t bytes);

 private:
  void Show();

  Console& console_;
  const std::string what_;
  const uint64_t total_;
  const bool shown_;
  uint64_t done_ = 0;
  int lastPermille_ = -1;
  size_t lastWidth_ = 0;
};

}  // namespace zarc
