#include "app/command_line.h"

#include <cstring>

namespace setup {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// The next argument into argument[capacity], or false at the end; one that does not fit is cut,
// and *cut says so. A trail byte of code page 932 is never a quote or a blank (0x40 and above).
bool NextArgument(const char** p, char* argument, size_t capacity, bool* cut) {
  while (**p == ' ' || **p == '\t') ++*p;
  if (**p == '\0') return false;
  size_t length = 0;
  bool quoted = false;
  *cut = false;
  for (; **p != '\0' && (quoted || (**p != ' ' && **p != '\t')); ++*p) {
    if (**p == '"') {
      quoted = !quoted;
    } else if (length + 1 < capacity) {
      argument[length++] = **p;
    } else {
      *cut = true;
    }
  }
  argument[length] = '\0';
  return true;
}

}  // namespace

bool FindSwitch(const char* commandLine, const char* prefix, char* value, size_t capacity) {
  char argument[1024];
  bool cut = false;
  const size_t prefixLength = strlen(prefix);
  for (const char* p = commandLine; NextArgument(&p, argument, sizeof argument, &cut);) {
    size_t i = 0;
    while (i < prefixLength && Lower(argument[i]) == Lower(prefix[i])) ++i;
    if (i < prefixLength) continue;
    const size_t length = strlen(argument + i);
    if (cut || length >= capacity) return false;
    memcpy(value, argument + i, length + 1);
    return true;
  }
  return false;
}

}  // namespace setup
