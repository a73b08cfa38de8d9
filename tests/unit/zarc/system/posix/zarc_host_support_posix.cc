#include <iconv.h>

#include "zarc/zarc_test_support.h"

namespace zarc::testing {

std::string HostForm(const std::string& cp932) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == iconv_t(-1)) return "<no iconv>";
  std::string in = cp932;
  char out[1024];
  char* input = &in[0];
  size_t inputLeft = in.size();
  char* output = out;
  size_t outputLeft = sizeof out;
  const size_t r = iconv(cd, &input, &inputLeft, &output, &outputLeft);
  iconv_close(cd);
  return r == size_t(-1) ? "<not cp932>" : std::string(out, size_t(output - out));
}

std::string TestDataPath(const std::string& name) {
  return std::string(SETUP_TEST_DATA_DIR) + "/" + name;
}

}  // namespace zarc::testing
