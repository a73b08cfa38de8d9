// Free disk space: measured on the drive that holds a path, and shown in the install options
// dialog and the folder browser. 1 MB is 2^20 bytes; above 1024 MB the texts switch to GByte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace setup {

class FileSystem;
class WindowView;

// What a free-space query that fails reads as: -1 byte.
constexpr double kUnmeasuredMB = -1.0 / 1048576.0;

// The free space of the drive holding path, in MB, or kUnmeasuredMB. The drive's root is the
// first three bytes of path ("C:\" of "C:\Program Files\x"); a shorter path is used whole.
double FreeSpaceMB(FileSystem& files, const char* path);

// "空き容量:[F MByte] / 必要容量:[R MByte]", in GByte with two decimals when freeMB > 1024.
void FormatFreeSpaceLine(double freeMB, int32_t requiredMB, char* buffer, size_t capacity);

// The folder browser's status for a selected folder: the path, " \r\n", then its free space.
void FormatFolderStatus(const char* path, double freeMB, char* buffer, size_t capacity);

// "＊R MByte以上の空き容量が必要です": what the browser shows when it opens.
void FormatRequirement(int32_t requiredMB, char* buffer, size_t capacity);

// Measures the drive of installDir and sets the free-space line of the install options dialog.
void ShowFreeSpace(FileSystem& files, WindowView& dialog, const char* installDir, int32_t requiredMB);

}  // namespace setup
