#include "zarc/system/progress.h"

#include <cstdio>

namespace zarc {

namespace {

std::string Megabytes(uint64_t bytes) {
  char text[32];
  snprintf(text, sizeof text, "%.1f", double(bytes) / (1 << 20));
  return text;
}

}  // namespace

Progress::Progress(Console& console, const std::string& what, uint64_t total)
    : console_(console), what_(what), total_(total), shown_(console.ShowsProgress()) {
  Show();
}

Progress::~Progress() {
  if (shown_ && lastWidth_ > 0) console_.Complain("\r" + std::string(lastWidth_, ' ') + "\r");
}

void Progress::Advance(uint64_t bytes) {
  done_ = done_ + bytes < total_ ? done_ + bytes : total_;
  Show();
}

void Progress::Show() {
  if (!shown_) return;
  const int permille = total_ == 0 ? 1000 : int(done_ * 1000 / total_);
  if (permille == lastPermille_) return;  // at most a thousand rewrites, however many blocks
  lastPermille_ = permille;
  char percent[16];
  snprintf(percent, sizeof percent, "%d%%", permille / 10);
  const std::string line = "zarc: " + what_ + " " + Megabytes(done_) + " of " +
                           Megabytes(total_) + " MB (" + percent + ")";
  // Padded over a longer line before it, so no characters of that one stay behind.
  const std::string padding(lastWidth_ > line.size() ? lastWidth_ - line.size() : 0, ' ');
  console_.Complain("\r" + line + padding);
  lastWidth_ = line.size();
}

}  // namespace zarc
