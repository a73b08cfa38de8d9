#include "zarc/zarc_test_support.h"

namespace zarc::testing {

std::string HostForm(const std::string& cp932) { return cp932; }

// Wine maps the host's root to drive Z:.
std::string TestDataPath(const std::string& name) {
  std::string path = std::string("Z:") + SETUP_TEST_DATA_DIR + "/" + name;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace zarc::testing
