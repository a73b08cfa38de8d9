#include "install/file_installation.h"

#include <cstdint>
#include <cstring>

#include "archive/entry_inflater.h"
#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "base/path.h"
#include "base/text.h"
#include "install/entry_pool.h"
#include "install/progress.h"
#include "install/run_targets.h"
#include "platform/files.h"
#include "platform/file_system.h"
#include "platform/replacing_file.h"

namespace setup {

namespace {

constexpr uint32_t kPieceSize = 256 << 10;  // within a processor's second-level cache

// A file already at a destination is replaced whole or not at all: the new one is made beside it
// and then moved into its place. Written over directly, a version-up that stops half way (a full
// disk, a file in use) would leave the old program cut short and still recorded as installed.
// A path short enough for a name beside it; a longer one can only be written in place.
bool CanReplaceBeside(const char* path) { return strlen(path) + kBesideNameExtra < kPathCapacity; }

// What a file is written from: bytes at hand, or a package entry inflated one piece at a time into
// the worker's own buffer, each piece written while it is still in the processor's cache. A file
// then never needs memory of its size, which on a machine with dear page faults cost as much as
// the inflating. A damaged entry is found only once part of it is written, so it goes only into
// a file that is removed again on failure, or is read through once first (Intact).
class Content {
 public:
  Content(const void* data, uint32_t size) : data_(data), size_(size) {}
  Content(const EntryStream& stream, uint8_t* piece, uint32_t capacity)
      : piece_(piece), size_(capacity), stream_(stream) {}

  bool WriteTo(OutputFile& file) { return piece_ != nullptr ? Pass(&file) : file.Write(data_, size_); }
  // Whether all of it can be had, asked before a file that cannot be taken back is written over.
  bool Intact() { return piece_ == nullptr || Pass(nullptr); }

 private:
  // The entry inflated through once, into file unless that is null.
  bool Pass(OutputFile* file) {
    auto write = [](void* to, const uint8_t* piece, uint32_t length) {
      return static_cast<OutputFile*>(to)->Write(piece, length);
    };
    EntryInflater inflater;
    return inflater.InflateInPieces(stream_.source, stream_.storedSize, stream_.fullSize,
                                    file != nullptr ? piece_ : nullptr, size_, write, file);
  }

  const void* data_ = nullptr;  // the bytes at hand
  uint8_t* piece_ = nullptr;    // or the piece an entry is inflated through
  uint32_t size_;               // their count, or the piece's capacity
  EntryStream stream_ = {};
};

// Writes all of content to the open file path and closes it; false if any byte fails to reach it.
// A file that is new is removed again then.
bool WriteAndClose(FileSystem& files, const char* path, OutputFile& file, bool isNew, Content& content) {
  bool written = content.WriteTo(file);
  written = file.Close(false) && written;
  if (!written && isNew) files.RemoveFile(path);
  return written;
}

// Writes all of content to the file; false if it cannot be created or any byte fails to reach it.
// A file this call created is removed again when it could not be written whole.
bool WriteInPlace(FileSystem& files, const char* path, WriteMode mode, Content& content) {
  const bool existed = mode == WriteMode::kReplace && FileExists(files, path);
  if (existed && !content.Intact()) return false;
  auto file = files.OpenForWriting(path, mode);
  return file != nullptr && WriteAndClose(files, path, *file, !existed, content);
}

// Writes content as the file path when none is there; otherwise as a new file beside it, named in
// beside[kPathCapacity] (empty when written in place), for the run to move into path in its turn.
bool WriteFileOrBeside(FileSystem& files, const char* path, Content& content, char* beside) {
  beside[0] = '\0';
  // Usually nothing is there yet: creating the file new asks whether one is and opens it in one
  // call, where asking first cost every file of a fresh install a file system question more.
  if (auto file = files.OpenForWriting(path, WriteMode::kNew)) return WriteAndClose(files, path, *file, true, content);
  if (!FileExists(files, path) || !CanReplaceBeside(path)) {
    // Nothing there to lose (or no room for a name beside it): written where it goes.
    return WriteInPlace(files, path, WriteMode::kReplace, content);
  }
  ReplacingFile replacing(files, path, beside, kPathCapacity);
  OutputFile* file = replacing.Create();
  return file != nullptr && replacing.Finish(content.WriteTo(*file));
}

// Copies source to destination, creating it or replacing the file there whole.
bool CopyOver(FileSystem& files, const char* source, const char* destination) {
  if (!FileExists(files, destination) || !CanReplaceBeside(destination)) {
    return files.CopyFileOver(source, destination);  // a failed copy leaves no part of itself
  }
  char temporary[kPathCapacity];
  ReplacingFile replacing(files, destination, temporary, sizeof temporary);
  if (!replacing.Reserve()) return false;
  // A copy takes the source's marks: cleared before the move, a copy that cannot be moved can
  // still be removed.
  if (!files.CopyFileOver(source, temporary)) {
    replacing.Discard();
    return false;
  }
  files.SetNormalAttributes(temporary);
  return replacing.Place();
}

// #I, on a worker of the pool: the package entry name unpacked into the file destination, or
// beside it when one is there.
bool UnpackEntry(const PackageArchive& archive, FileSystem& files, MemoryStream& buffer, const char* name,
                 const char* destination, char* beside) {
  // A missing or damaged entry fails the run rather than leave an empty file in the place of the
  // program (during a version-up, over the working one) and report success.
  beside[0] = '\0';
  EntryStream stream;
  if (buffer.Reserve(kPieceSize) && archive.FindStream(name, &stream)) {
    Content content(stream, buffer.CurrentData(), buffer.Capacity());
    return WriteFileOrBeside(files, destination, content, beside);
  }
  // A file of the current directory, read whole, and not kept past it.
  if (!archive.Load(name, buffer)) return false;
  Content content(buffer.CurrentData(), buffer.Size());
  const bool written = WriteFileOrBeside(files, destination, content, beside);
  buffer.Release();
  return written;
}

// Copies the items of one folder of a tree as the listing delivers them.
class TreeCopier : public FolderVisitor {
 public:
  TreeCopier(FileSystem& files, RunProgress& progress, const char* destination, const char* source)
      : files_(files), progress_(progress), destination_(destination), source_(source) {}

  bool Visit(const FolderItem& item) override {
    if (item.isFolder && item.name[0] == '.') return true;  // dot folders stay behind, content and all
    char from[kPathCapacity], to[kPathCapacity];
    ok_ = FormatPath(from, "%s\\%s", source_, item.name) && FormatPath(to, "%s\\%s", destination_, item.name);
    if (ok_ && item.isFolder) {
      ok_ = CopyFolderTree(files_, progress_, to, from);
    } else if (ok_) {
      uint64_t bytes = 0;
      files_.FileSize(from, &bytes);
      ok_ = CopyOver(files_, from, to);
      if (ok_) {
        files_.SetNormalAttributes(to);
        progress_.Step(bytes);
      }
    }
    return ok_;
  }
  bool ok() const { return ok_; }

 private:
  FileSystem& files_;
  RunProgress& progress_;
  const char* destination_;
  const char* source_;
  bool ok_ = true;
};

// The progress work of a run over the list: the files it will write, as it will pass over entries.
class WorkMeasurer : public TargetVisitor {
 public:
  WorkMeasurer(FileSystem& files, const PackageArchive& archive) : files_(files), archive_(archive) {}
  bool Target(const char*, const char* source, bool packaged) override {
    uint64_t bytes = 0;
    if (packaged) {
      archive_.EntrySize(source, &bytes);
    } else {
      files_.FileSize(source, &bytes);
    }
    work += ProgressWork(bytes);
    return true;
  }
  uint64_t work = 0;

 private:
  FileSystem& files_;
  const PackageArchive& archive_;
};

// Carries out each action of the list. Every action but an entry waits for the entries before
// it: a folder made, a file copied over an unpacked one, happen after them as the list says.
class Installer : public ListVisitor {
 public:
  Installer(FileSystem& files, RunProgress& progress, const RunPlan& plan, EntryPool& pool)
      : files_(files), progress_(progress), plan_(plan), pool_(pool) {}

  bool Act(InstallEntryType type, const char* source, const char* destination) override {
    if (type == kExtractEntry) return Queue(source, destination);
    if (!pool_.Finish()) return false;
    switch (type) {
      case kMakeFolder:
        CreateFolderPath(files_, destination);
        return true;
      case kCopyFile:  // with the marks of the medium cleared
        return MayCopyFrom(source) && CopyOneFile(source, destination);
      case kCopyTree:
        return MayCopyFrom(source) && CopyFolderTree(files_, progress_, destination, source);
      default: {  // #X: a new file holding exactly the bytes of the content
        if (source == nullptr) source = "";
        Content bytes(source, uint32_t(strlen(source)));
        return WriteInPlace(files_, destination, WriteMode::kNew, bytes);
      }
    }
  }

 private:
  // #I: queued for the pool.
  bool Queue(const char* name, const char* destination) {
    uint64_t bytes;
    if (!plan_.archive.EntrySize(name, &bytes)) return false;
    // A file with no room for a name beside it is written over in place, which cannot be undone:
    // it starts only once every entry before it is in.
    if (!CanReplaceBeside(destination) && !pool_.Finish()) return false;
    return pool_.Add(name, destination, bytes);
  }
  bool CopyOneFile(const char* source, const char* destination) {
    uint64_t bytes = 0;
    files_.FileSize(source, &bytes);
    if (!CopyOver(files_, source, destination)) return false;
    files_.SetNormalAttributes(destination);
    progress_.Step(bytes);
    return true;
  }
  // A source of #C or #H that a relative path finds in the current directory, which a program
  // that takes only its built-in package must not read: with administrator rights, from a
  // downloads folder, it would install whatever lies there. Such an entry fails, as a missing one
  // does.
  bool MayCopyFrom(const char* source) const { return IsFullPath(source) || plan_.archive.ReadsCurrentFolder(); }

  FileSystem& files_;
  RunProgress& progress_;
  const RunPlan& plan_;
  EntryPool& pool_;
};

}  // namespace

bool InstallFiles(FileSystem& files, RunProgress& progress, const RunPlan& plan, Threads* threads) {
  CreateFolderPath(files, plan.installDir);  // usually there already for a version-up
  WorkMeasurer measurer(files, plan.archive);
  VisitTargets(files, plan, measurer);
  progress.Begin(measurer.work);
  EntryPool pool(files, plan.archive, progress, threads, UnpackEntry);
  Installer installer(files, progress, plan, pool);
  // An entry that fails lets the ones before it in the list finish first, as they would have.
  if (!WalkInstallList(plan, installer)) {
    pool.Finish();
    return false;
  }
  if (!pool.Finish()) return false;
  progress.End();  // also when a file counted more, or fewer, bytes than it was measured at
  return true;
}

bool CopyFolderTree(FileSystem& files, RunProgress& progress, const char* destination, const char* source) {
  files.MakeFolder(destination);
  TreeCopier copier(files, progress, destination, source);
  files.ListFolder(source, copier);  // a source that cannot be listed simply has nothing to copy
  return copier.ok();
}

}  // namespace setup
