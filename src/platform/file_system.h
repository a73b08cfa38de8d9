// Files and folders as the core needs them. Nothing here includes <windows.h>.
//
// Paths and names are NUL-terminated code page 932 text in Windows form: "C:\folder\name", or a
// path relative to the current directory. Each implementation converts them for its own system.
#pragma once

#include <cstdint>
#include <memory>

namespace setup {

// One item of a folder listing. The system's own "." and ".." are never reported.
struct FolderItem {
  const char* name;  // the item's name alone, valid during the visit
  bool isFolder;
};

class FolderVisitor {
 public:
  // Called once per item; returning false stops the listing.
  virtual bool Visit(const FolderItem& item) = 0;

 protected:
  ~FolderVisitor() = default;
};

// A file being written. Closing without Close (destruction) drops nothing already written, but
// promises nothing about stable storage either.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes all bytes at the write position and moves it behind them; false on any short write.
  virtual bool Write(const void* data, uint32_t size) = 0;
  // Moves the write position to offset bytes from the start. False if that fails.
  virtual bool Seek(uint64_t offset) = 0;
  // The write position, counted from the start of the file.
  virtual uint64_t Position() = 0;
  // Closes the file; with sync, its data reaches stable storage first. False if anything failed.
  virtual bool Close(bool sync) = 0;
};

enum class WriteMode {
  kReplace,  // create the file, or truncate the one already there
  kNew,      // create the file; fail when one of that name is already there
};

// Files and folders.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads a whole file into a buffer from new[] that the caller owns. False, with nothing
  // allocated, if it cannot be opened or read, or is 4 GiB or larger.
  virtual bool ReadWholeFile(const char* path, uint8_t** data, uint32_t* size) = 0;

  // The size of a file. False if there is no file there that can be opened.
  virtual bool FileSize(const char* path, uint64_t* size) = 0;

  // Reads the first bytes of a file, at most capacity, into buffer; *got says how many. False if
  // it cannot be opened or read. This fallback reads the whole file; real file systems read less.
  virtual bool ReadFileStart(const char* path, uint8_t* buffer, uint32_t capacity, uint32_t* got) {
    uint8_t* data;
    uint32_t size;
    if (!ReadWholeFile(path, &data, &size)) return false;
    *got = size < capacity ? size : capacity;
    for (uint32_t i = 0; i < *got; ++i) buffer[i] = data[i];
    delete[] data;
    return true;
  }

  // Visits every item of a folder in the system's order. False if the folder cannot be listed.
  virtual bool ListFolder(const char* folder, FolderVisitor& visitor) = 0;

  // The current directory, without a trailing separator (except a root). False if it does not fit
  // in capacity bytes with its NUL.
  virtual bool CurrentFolder(char* buffer, uint32_t capacity) = 0;

  // Makes path the current directory. False if it is not a folder.
  virtual bool ChangeFolder(const char* path) = 0;

  // Creates one folder; its parent must exist. False if it exists already or cannot be made.
  virtual bool MakeFolder(const char* path) = 0;

  // Removes a folder that is empty. False otherwise.
  virtual bool RemoveEmptyFolder(const char* path) = 0;

  // Deletes a file. False if it is missing, read-only or in use.
  virtual bool RemoveFile(const char* path) = 0;

  // Opens a file for writing; null if it cannot be opened in that mode, and for a read-only file.
  virtual std::unique_ptr<OutputFile> OpenForWriting(const char* path, WriteMode mode) = 0;

  // Puts the file from in the place of to in one atomic step, replacing a file already there.
  // False, with both left as they were, if that cannot be done (also when to is read-only).
  virtual bool MoveOver(const char* from, const char* to) = 0;

  // Copies the file source to destination, creating it or replacing the file there; the copy takes
  // the source's attributes, as Windows copies do. False if source cannot be read, destination is
  // read-only or cannot be written, or both name the same file; a failed copy leaves no partial
  // file behind.
  virtual bool CopyFileOver(const char* source, const char* destination) = 0;

  // Clears the read-only, hidden and system marks of a file. False if there is no such file.
  virtual bool SetNormalAttributes(const char* path) = 0;

  // True when another program holds the file at path so that it cannot be replaced now: it
  // cannot be opened for writing without sharing, even after the wait a brief hold is given.
  // False when it can, when there is no such file, and where the system cannot tell.
  virtual bool HeldByAnother(const char* path) { return false; }

  // The bytes free for this user on the drive whose root is given ("C:\" or "C:"), without a
  // 4 GiB limit. False if it cannot be measured; a file system that cannot measure keeps this.
  virtual bool FreeBytes(const char* root, uint64_t* bytes) { return false; }
};

}  // namespace setup
