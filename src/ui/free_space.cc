#include "ui/free_space.h"

#include <cstdio>

#include "base/text.h"
#include "model/control_ids.h"
#include "model/texts.h"
#include "platform/file_system.h"
#include "platform/views.h"

namespace setup {

namespace {

constexpr double kBytesPerMB = 1048576.0;
constexpr double kGByteFromMB = 1024.0;  // the texts switch to GByte strictly above this

}  // namespace

double FreeSpaceMB(FileSystem& files, const char* path) {
  char root[4];
  CopyTextCut(root, path, 3);
  uint64_t bytes = 0;
  if (!files.FreeBytes(root, &bytes)) return kUnmeasuredMB;
  return double(bytes) / kBytesPerMB;
}

void FormatFreeSpaceLine(double freeMB, int32_t requiredMB, char* buffer, size_t capacity) {
  if (freeMB > kGByteFromMB) {
    FormatText(buffer, capacity, kFreeSpaceGBFormat, freeMB / kGByteFromMB, int(requiredMB));
  } else {
    FormatText(buffer, capacity, kFreeSpaceMBFormat, freeMB, int(requiredMB));
  }
}

void FormatFolderStatus(const char* path, double freeMB, char* buffer, size_t capacity) {
  if (freeMB > kGByteFromMB) {
    FormatText(buffer, capacity, kFolderStatusGBFormat, path, freeMB / kGByteFromMB);
  } else {
    FormatText(buffer, capacity, kFolderStatusMBFormat, path, freeMB);
  }
}

void FormatRequirement(int32_t requiredMB, char* buffer, size_t capacity) {
  FormatText(buffer, capacity, kRequirementFormat, int(requiredMB));
}

void ShowFreeSpace(FileSystem& files, WindowView& dialog, const char* installDir, int32_t requiredMB) {
  char line[kPathCapacity];
  FormatFreeSpaceLine(FreeSpaceMB(files, installDir), requiredMB, line, sizeof line);
  dialog.SetControlText(IDC_FREE_SPACE, line);
}

}  // namespace setup
