#include "zarc/system/console.h"

#include <cstdio>

#include "zarc/system/host.h"

namespace zarc {

void StdioConsole::Print(const std::string& text) { fputs(text.c_str(), stdout); }

void StdioConsole::Complain(const std::string& text) {
  fflush(stdout);  // keep a listing and the messages about it in order on a shared terminal
  fputs(text.c_str(), stderr);
}

bool StdioConsole::ShowsProgress() { return StandardErrorIsTerminal(); }

void Tell(Console& console, const std::string& text) { console.Complain("zarc: " + text + "\n"); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string EscapedBytes(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F) {
      shown += char(c);
    } else {
      char hex[5];
      snprintf(hex, sizeof hex, "\\x%02X", c);
      shown += hex;
    }
  }
  return shown;
}

}  // namespace zarc
