#include "install/progress.h"

#include "base/text.h"
#include "model/control_ids.h"
#include "platform/views.h"

namespace setup {

void RunProgress::Show(int32_t position, int32_t percent) {
  if (percent != percent_) {
    percent_ = percent;
    char text[32];
    FormatText(text, sizeof text, "%d%%", int(percent));
    window_.SetControlText(IDC_PERCENT, text);
  }
  if (position != position_) {
    position_ = position;
    window_.SetProgressPosition(IDC_PROGRESS, position);
  }
}

void RunProgress::Begin(uint64_t total) {
  total_ = total;
  done_ = 0;
  Show(0, 0);
}

void RunProgress::Step(uint64_t fileBytes) {
  uint64_t done = done_ + ProgressWork(fileBytes);
  if (done > total_) done = total_;  // a file grown since it was measured
  done_ = done;
  uint64_t total = total_;
  if (total == 0) return;
  while (total > (uint64_t(1) << 48)) {  // the products below stay within 64 bits
    total >>= 1;
    done >>= 1;
  }
  Show(int32_t(done * kProgressRange / total), int32_t(done * 100 / total));
}

void RunProgress::End() {
  done_ = total_;
  Show(kProgressRange, 100);
}

}  // namespace setup
