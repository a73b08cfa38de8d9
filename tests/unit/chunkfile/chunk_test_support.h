// Chunk files for tests: built and taken apart by hand, independently of ChunkReader and
// ChunkWriter, and kept either in the in-memory fake or in a real folder, so that every chunk test
// also runs against the platform's real file API (POSIX on the host, Win32 under Wine).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_file_system.h"
#include "platform/platform_fixture.h"

namespace setup::testing {

// Chunks as (four-letter id, data) pairs, in file order.
using Chunks = std::vector<std::pair<std::string, std::string>>;

inline std::string Le32(uint32_t v) {
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}
inline uint32_t Id(const std::string& text) {
  return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 | uint32_t(uint8_t(text[2])) << 16 |
         uint32_t(uint8_t(text[3])) << 24;
}

inline std::string FormHeader(const std::string& formType, uint32_t totalLength) {
  return "FORM" + Le32(totalLength) + formType;
}
// A chunk with the length field given; RawChunk(id, 8 + data.size(), data) is a proper one.
inline std::string RawChunk(const std::string& id, uint32_t length, const std::string& data) {
  return id + Le32(length) + data;
}
inline std::string Chunk(const std::string& id, const std::string& data) {
  return RawChunk(id, uint32_t(8 + data.size()), data);
}
// A well-formed chunk file.
inline std::string ChunkFile(const std::string& formType, const Chunks& chunks) {
  std::string body;
  for (const auto& [id, data] : chunks) body += Chunk(id, data);
  return FormHeader(formType, uint32_t(12 + body.size())) + body;
}

// The chunks of a file written by ChunkWriter, checked strictly: the total length equals the size
// and every chunk's length reaches exactly to the next one.
inline Chunks ParseStrictly(const std::string& bytes, const std::string& formType) {
  auto le32 = [&](size_t at) { return Id(bytes.substr(at, 4)); };
  Chunks chunks;
  if (bytes.size() < 12 || bytes.compare(0, 4, "FORM") != 0 || bytes.compare(8, 4, formType) != 0) {
    ADD_FAILURE() << "not a chunk file of form type " << formType;
    return chunks;
  }
  EXPECT_EQ(le32(4), bytes.size()) << "total length";
  size_t at = 12;
  while (at < bytes.size()) {
    if (bytes.size() - at < 8 || le32(at + 4) < 8 || le32(at + 4) > bytes.size() - at) {
      ADD_FAILURE() << "bad chunk at " << at;
      break;
    }
    chunks.emplace_back(bytes.substr(at, 4), bytes.substr(at + 8, le32(at + 4) - 8));
    at += le32(at + 4);
  }
  return chunks;
}

// Deterministic bytes that no two chunks share by accident.
inline std::string Filler(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes[i] = char(seed >> 16);
  }
  return bytes;
}

enum class Storage { kMemory, kDisk };

inline std::string StorageName(const ::testing::TestParamInfo<Storage>& info) {
  return info.param == Storage::kMemory ? "Memory" : "Disk";
}

// One empty folder, in memory or on the disk, and the FileSystem that reaches it.
class ChunkFileTest : public ::testing::TestWithParam<Storage> {
 protected:
  // Made here rather than in SetUp, so that members of test fixtures can be given fs().
  ChunkFileTest() {
    if (GetParam() == Storage::kDisk) {
      disk_ = MakeFileSystem();
      folder_ = std::make_unique<TempFolder>();
    }
  }
  void SetUp() override {
    if (folder_) {
      ASSERT_TRUE(folder_->ok());
    }
  }

  FileSystem& fs() { return disk_ ? *disk_ : memory_; }
  std::string Folder() const { return folder_ ? folder_->path() : std::string("C:\\setup"); }
  std::string Path(const std::string& name) const { return Folder() + "\\" + name; }

  void Put(const std::string& name, const std::string& bytes) {
    auto file = fs().OpenForWriting(Path(name).c_str(), WriteMode::kReplace);
    ASSERT_NE(file, nullptr) << name;
    ASSERT_TRUE(file->Write(bytes.data(), uint32_t(bytes.size())));
    ASSERT_TRUE(file->Close(false));
  }
  // The file's bytes, or "<missing>".
  std::string Get(const std::string& name) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!fs().ReadWholeFile(Path(name).c_str(), &data, &size)) return "<missing>";
    std::string bytes(reinterpret_cast<const char*>(data), size);
    delete[] data;
    return bytes;
  }
  // The names of the files in the folder, sorted.
  std::vector<std::string> Names() {
    struct Collector : FolderVisitor {
      bool Visit(const FolderItem& item) override {
        if (!item.isFolder) names.push_back(item.name);
        return true;
      }
      std::vector<std::string> names;
    } collector;
    EXPECT_TRUE(fs().ListFolder(Folder().c_str(), collector));
    std::sort(collector.names.begin(), collector.names.end());
    return collector.names;
  }
  void RemoveAllFiles() {
    for (const std::string& name : Names()) fs().RemoveFile(Path(name).c_str());
  }

  FakeFileSystem memory_;
  std::unique_ptr<FileSystem> disk_;
  std::unique_ptr<TempFolder> folder_;
};

}  // namespace setup::testing
