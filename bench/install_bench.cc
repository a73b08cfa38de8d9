// The install engine's speed and memory on a real package, and the floor it is measured against.
//
//   install_bench install PACKAGE.zarc DEST   InstallFiles with one #I entry per package entry,
//                                             on the pool of workers
//   install_bench single  PACKAGE.zarc DEST   the same on one thread, to compare the results
//   install_bench floor   PACKAGE.zarc DEST   per entry: zlib's one-shot uncompress, one write
//
// PACKAGE.zarc should lie in a folder of its own: the package's folder becomes the current
// directory, whose plain files take part in every lookup. DEST must not exist yet. Prints one
// line: "<mode> seconds=S cpu_seconds=C peak_rss_kib=K", C the processor time of all its threads.
// bench/install_bench.sh runs it; see docs/PERFORMANCE.md.
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "archive/package_archive.h"
#include "base/byte_order.h"
#include "base/text.h"
#include "install/file_installation.h"
#include "install/progress.h"
#include "platform/memory/memory_resources.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_threads.h"
#include "platform/views.h"

namespace {

// The main window while nothing shows it.
class NoWindow : public setup::WindowView {
 public:
  void* Handle() override { return nullptr; }
  void SetCaption(const char*) override {}
  void ShowControl(int, bool) override {}
  void SetControlText(int, const char*) override {}
  bool IsChecked(int) override { return false; }
  void SetChecked(int, bool) override {}
  void SetProgressRange(int, int, int) override {}
  void SetProgressPosition(int, int) override {}
  void Invalidate() override {}
  int ShowMessage(const char*, const char*, uint32_t) override { return 1; }
  void End(int) override {}
};

bool Install(const std::string& packageName, const std::string& destination, bool pool) {
  setup::PosixFileSystem files;
  setup::MemoryResources noResources;
  auto archive = std::make_unique<setup::PackageArchive>();
  if (!archive->Open(files, noResources, packageName.c_str())) {
    fprintf(stderr, "install_bench: cannot open %s\n", packageName.c_str());
    return false;
  }
  // The archive's own entries; the package file itself is registered from the folder too.
  std::vector<setup::InstallEntry> list;
  for (uint32_t i = 0; i < archive->entryCount(); ++i) {
    const setup::ArchiveEntry& entry = archive->entry(i);
    if (entry.storedSize == 0) continue;
    list.push_back(setup::InstallEntry{setup::kExtractEntry, {}});
    setup::CopyText(list.back().text, sizeof list.back().text, entry.name);
  }
  NoWindow window;
  setup::RunProgress progress(window);
  setup::PosixThreads threads;
  const setup::RunPlan plan{*archive, list.data(), int(list.size()), destination.c_str(), 0};
  return setup::InstallFiles(files, progress, plan, pool ? &threads : nullptr);
}

// What any installer has to do at least: read the package, inflate each entry in one call into
// a buffer of its size, and write that buffer once.
bool Floor(const std::string& packageName, const std::string& destination) {
  FILE* in = fopen(packageName.c_str(), "rb");
  if (in == nullptr) return false;
  struct stat info;
  if (fstat(fileno(in), &info) != 0) return false;
  std::vector<uint8_t> image(size_t(info.st_size));
  bool read = fread(image.data(), 1, image.size(), in) == image.size();
  fclose(in);
  if (!read || image.size() < 8 || memcmp(image.data(), "ZARC", 4) != 0) return false;
  mkdir(destination.c_str(), 0777);
  uint32_t count = setup::LoadLE32(&image[4]) & 0xFFFF;
  if (!setup::RangeInside(8, 64ull * count, image.size())) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* record = &image[8 + 64 * i];
    uint32_t offset = setup::LoadLE32(record), stored = setup::LoadLE32(record + 4);
    uLongf length = setup::LoadLE32(record + 8);
    if (!setup::RangeInside(offset, stored, image.size()) || memchr(record + 12, 0, 52) == nullptr) return false;
    std::unique_ptr<uint8_t[]> output(new uint8_t[length]);
    if (uncompress(output.get(), &length, &image[offset], stored) != Z_OK) return false;
    std::string path = destination + "/" + reinterpret_cast<const char*>(record + 12);
    int out = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    bool written = out >= 0 && write(out, output.get(), length) == ssize_t(length);
    if (out < 0 || close(out) != 0 || !written) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 4 ? argv[1] : "";
  if (mode != "install" && mode != "single" && mode != "floor") {
    fprintf(stderr, "usage: install_bench install|single|floor PACKAGE.zarc DEST\n");
    return 2;
  }
  std::string package = argv[2];
  std::string destination = argv[3];
  if (destination[0] != '/') {
    std::unique_ptr<char, decltype(&free)> current(getcwd(nullptr, 0), &free);
    destination = std::string(current.get()) + "/" + destination;
  }
  size_t slash = package.rfind('/');
  if (slash != std::string::npos) {
    if (chdir(package.substr(0, slash + 1).c_str()) != 0) return 1;
    package = package.substr(slash + 1);
  }

  // glibc raises its mmap threshold after each large free and then keeps freed entry buffers in
  // the heap, resident; the Windows heap, where the program runs, hands large blocks back at once.
  // A fixed threshold measures what the program holds, not what the host allocator caches.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);

  auto start = std::chrono::steady_clock::now();
  bool ok = mode == "floor" ? Floor(package, destination) : Install(package, destination, mode == "install");
  std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  if (!ok) {
    fprintf(stderr, "install_bench: %s failed\n", argv[1]);
    return 1;
  }
  const double processor = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  printf("%s seconds=%.3f cpu_seconds=%.3f peak_rss_kib=%ld\n", argv[1], seconds.count(), processor,
         usage.ru_maxrss);
  return 0;
}
