// Program resources held in memory: "ZARC" packages added by whoever sets up the run, for the host
// and for tests on every system. Nothing here calls the system.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "platform/program_resources.h"

namespace setup {

class MemoryResources : public ProgramResources {
 public:
  // Adds a package under a name (matched ignoring case as Windows matches resource names: SameCp932Name)
  // or a numeric id. Adding one again hides the earlier bytes but keeps them valid.
  void Add(const char* name, std::vector<uint8_t> bytes);
  void Add(int id, std::vector<uint8_t> bytes);

  bool FindPackage(const char* name, const uint8_t** data, uint32_t* size) override;
  bool FindPackage(int id, const uint8_t** data, uint32_t* size) override;

  void SetVersionInformation(std::vector<uint8_t> bytes) { version_ = std::move(bytes); }
  bool FindVersionInformation(const uint8_t** data, uint32_t* size) override {
    if (version_.empty()) return false;
    *data = version_.data();
    *size = uint32_t(version_.size());
    return true;
  }

 private:
  struct Package {
    bool byName;
    std::string name;
    int id;
    std::vector<uint8_t> bytes;
  };
  bool Found(const Package& package, const uint8_t** data, uint32_t* size) const;

  // A list, so that adding never moves the bytes already handed out.
  std::list<Package> packages_;
  std::vector<uint8_t> version_;
};

}  // namespace setup
