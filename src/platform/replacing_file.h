// A file that takes another's place whole or not at all: written beside its target under one of
// the names of platform/files.h, brought to stable storage, then moved over the target in one
// step. Until that step the target is untouched, and a replacement that does not get there takes
// away what it wrote. Finishing and placing may happen apart: the install engine finishes a file
// on a worker and places it later, in list order, on the run's thread.
//
//   char beside[kPathCapacity];
//   ReplacingFile file(files, target, beside, sizeof beside);
//   OutputFile* out = file.Create();
//   return out != nullptr && file.Replace(out->Write(data, size));
#pragma once

#include <cstddef>

#include "platform/file_system.h"
#include "platform/files.h"

namespace setup {

// Moves the finished file beside over target in one step, and empties beside. False, with the
// beside file removed and the target as it was, when that cannot be done (the target read-only or
// in use).
bool PlaceBeside(FileSystem& files, char* beside, const char* target);

class ReplacingFile {
 public:
  // The beside file's name goes into beside[capacity]; it and target must outlive the object.
  ReplacingFile(FileSystem& files, const char* target, char* beside, size_t capacity)
      : files_(files), target_(target), beside_(beside), capacity_(capacity) {
    beside[0] = '\0';
  }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  // Discards a beside file still open; a finished one stays for Place.
  ~ReplacingFile();

  // Creates (or empties) the beside file, once, under the first of the names that can be opened:
  // the target, suffix and one digit. Its file to write, or null, with beside empty, when none
  // could be or a name does not fit. suffix is kBesideSuffix but for tools with a pattern of
  // their own.
  OutputFile* Create(const char* suffix = kBesideSuffix);
  // The beside file while it is open, or null.
  OutputFile* file() const { return file_; }

  // Closes the beside file, its data on stable storage first, and leaves it beside the target for
  // Place: a power loss cannot then leave the target's name on a file whose data never arrived.
  // False, with the file removed and beside empty, when written is false (a write failed) or the
  // close fails.
  bool Finish(bool written) { return Close(written, true); }
  // Creates the beside file and closes it empty, holding the name for a copy to fill.
  bool Reserve() { return Create() != nullptr && Close(true, false); }
  // Moves the finished file over the target, as PlaceBeside does.
  bool Place() { return PlaceBeside(files_, beside_, target_); }
  bool Replace(bool written) { return Finish(written) && Place(); }
  // Closes and removes the beside file, open or finished, if there is one; the target stays as
  // it was.
  void Discard();

 private:
  bool Close(bool written, bool sync);

  FileSystem& files_;
  const char* target_;
  char* beside_;
  size_t capacity_;
  OutputFile* file_ = nullptr;  // owned
};

}  // namespace setup
