// Where zarc's words go: listings to standard output, messages to standard error. An interface so
// that tests can read what a run printed.
#pragma once

#include <string>

namespace zarc {

class Console {
 public:
  virtual ~Console() = default;
  virtual void Print(const std::string& text) = 0;     // standard output
  virtual void Complain(const std::string& text) = 0;  // standard error
  // True when someone watches standard error: only then is progress shown there.
  virtual bool ShowsProgress() { return false; }
};

class StdioConsole : public Console {
 public:
  void Print(const std::string& text) override;
  void Complain(const std::string& text) override;
  bool ShowsProgress() override;
};

// Writes "zarc: " + text and a line break to standard error.
void Tell(Console& console, const std::string& text);

// Text in double quotes, for names inside messages.
std::string Quoted(const std::string& text);

// The bytes with everything outside printable ASCII written as \xNN: how a name with no form in
// the host's encoding is shown.
std::string EscapedBytes(const std::string& bytes);

}  // namespace zarc
