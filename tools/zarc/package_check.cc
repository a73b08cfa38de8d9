// Stand-in until the package checks are written: no findings yet, printed in their final form.
#include "zarc/package_check.h"

namespace zarc {

std::vector<Finding> CheckPackage(const std::vector<unsigned char>&) { return {}; }

bool ReportFindings(const std::vector<Finding>& findings, Console& console) {
  bool errors = false;
  for (const Finding& finding : findings) {
    std::string where = finding.entry;
    if (!where.empty() && finding.line > 0) where += ":" + std::to_string(finding.line);
    if (!where.empty()) where += ": ";
    console.Complain(where + (finding.error ? "error: " : "warning: ") + finding.message + "\n");
    errors = errors || finding.error;
  }
  return errors;
}

}  // namespace zarc
