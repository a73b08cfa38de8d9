#include "ui/free_space.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/text.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_view.h"
#include "model/control_ids.h"

namespace setup {
namespace {

// "空き容量" and "必要容量" in code page 932.
const std::string kFree = "\x8b\xf3\x82\xab\x97\x65\x97\xca";
const std::string kNeeded = "\x95\x4b\x97\x76\x97\x65\x97\xca";

constexpr uint64_t kMB = 1 << 20;

std::string Line(double freeMB, int32_t requiredMB) {
  char buffer[kPathCapacity];
  FormatFreeSpaceLine(freeMB, requiredMB, buffer, sizeof buffer);
  return buffer;
}

std::string Status(const char* path, double freeMB) {
  char buffer[600];
  FormatFolderStatus(path, freeMB, buffer, sizeof buffer);
  return buffer;
}

TEST(FreeSpace, MeasuresTheDriveRootFromTheFirstThreeBytes) {
  testing::FakeFileSystem files;
  files.freeBytes["C:\\"] = 3 * kMB;
  files.freeBytes["D:"] = kMB / 2;
  EXPECT_EQ(3.0, FreeSpaceMB(files, "C:\\Program Files\\x"));
  EXPECT_EQ(0.5, FreeSpaceMB(files, "D:"));
  // Far above 4 GiB, in full.
  files.freeBytes["E:\\"] = (uint64_t(5) << 32) + 3 * kMB;
  EXPECT_EQ(20483.0, FreeSpaceMB(files, "E:\\Games"));
  EXPECT_EQ(std::vector<std::string>({"C:\\", "D:", "E:\\"}), files.freeSpaceQueries);
}

TEST(FreeSpace, AFailedQueryReadsAsMinusOneByte) {
  testing::FakeFileSystem files;
  EXPECT_EQ(-1.0 / 1048576.0, FreeSpaceMB(files, "\\\\server\\share"));
  EXPECT_EQ(std::vector<std::string>({"\\\\s"}), files.freeSpaceQueries);
  EXPECT_EQ(-1.0 / 1048576.0, FreeSpaceMB(files, ""));
}

TEST(FreeSpace, TheLineSwitchesToGByteOnlyAbove1024MB) {
  EXPECT_EQ(kFree + ":[1024.0 MByte] / " + kNeeded + ":[8 MByte]", Line(1024.0, 8));
  EXPECT_EQ(kFree + ":[2.00 GByte] / " + kNeeded + ":[8 MByte]", Line(2048.0, 8));
  EXPECT_EQ(kFree + ":[1.00 GByte] / " + kNeeded + ":[0 MByte]", Line(1024.0 + 1.0 / 1048576.0, 0));
  EXPECT_EQ(kFree + ":[0.5 MByte] / " + kNeeded + ":[-3 MByte]", Line(0.5, -3));
  // A failed query shows as a negative zero.
  EXPECT_EQ(kFree + ":[-0.0 MByte] / " + kNeeded + ":[8 MByte]", Line(kUnmeasuredMB, 8));
  // The largest 64-bit count still fits the line.
  EXPECT_EQ(kFree + ":[17179869184.00 GByte] / " + kNeeded + ":[2147483647 MByte]",
            Line(double(UINT64_MAX) / double(kMB), INT32_MAX));
}

TEST(FreeSpace, TheFolderStatusHasThePathThenTheSpaceOnASecondLine) {
  EXPECT_EQ("D:\\Games \r\n" + kFree + ":[1024.0 MByte]", Status("D:\\Games", 1024.0));
  EXPECT_EQ("C:\\ \r\n" + kFree + ":[68.49 GByte]", Status("C:\\", 68.49 * 1024));
  EXPECT_EQ("X:\\ \r\n" + kFree + ":[-0.0 MByte]", Status("X:\\", kUnmeasuredMB));
}

TEST(FreeSpace, ShowFreeSpaceMeasuresTheInstallFolder) {
  testing::FakeFileSystem files;
  files.freeBytes["D:\\"] = 2048 * kMB;
  testing::FakeView view({});
  ShowFreeSpace(files, view, "D:\\Games\\Quillfen", 8);
  EXPECT_EQ(kFree + ":[2.00 GByte] / " + kNeeded + ":[8 MByte]", view.texts[IDC_FREE_SPACE]);
}

}  // namespace
}  // namespace setup
