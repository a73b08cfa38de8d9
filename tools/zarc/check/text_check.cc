// The text checks: line breaks, code page and byte-order mark of the texts the program reads.
#include <algorithm>

#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "base/text.h"
#include "model/package_layout.h"
#include "zarc/check/check_run.h"
#include "zarc/system/host.h"
#include "zarc/pack/text_conversion.h"

namespace zarc {

namespace {

// Offset of the first character of text that has no code page 932 form, or npos. The host's own
// conversion decides, as the system's does for the setup program.
size_t FirstNonCp932(const uint8_t* text, size_t size) {
  std::string unused;
  if (HostNameFromEntry(std::string(text, text + size), &unused)) return std::string::npos;
  for (size_t i = 0; i < size;) {
    const size_t length = setup::Cp932CharLength(text + i, size - i);
    if (!HostNameFromEntry(std::string(text + i, text + i + length), &unused)) return i;
    i += length;
  }
  return 0;
}

}  // namespace

bool StartsWithUtf8Mark(const std::vector<uint8_t>& text) {
  return text.size() >= 3 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF;
}

std::vector<TextLine> ReadLines(const std::vector<uint8_t>& bytes, uint32_t capacity,
                                int* stopLine) {
  std::vector<TextLine> lines;
  setup::MemoryStream stream;
  uint8_t* copy = new uint8_t[bytes.size() + 1];
  std::copy(bytes.begin(), bytes.end(), copy);
  stream.Adopt(copy, uint32_t(bytes.size()));
  std::vector<char> buffer(capacity);
  *stopLine = 0;
  for (int number = 1;; ++number) {
    const size_t start = stream.Position();
    if (start >= bytes.size()) break;
    if (stream.ReadLine(buffer.data(), capacity) == nullptr) {
      *stopLine = number;
      break;
    }
    size_t t = start;
    while (bytes[t] != '\r' && bytes[t] != '\n') ++t;  // the reader found one
    LineEnd end = LineEnd::kLf;
    if (bytes[t] == '\r') {
      end = t + 1 < bytes.size() && bytes[t + 1] == '\n' ? LineEnd::kCrLf : LineEnd::kCrAlone;
    }
    lines.push_back(TextLine{number, start, t - start, end, std::string(buffer.data())});
  }
  return lines;
}

void CheckText(CheckRun& run, const std::string& entry, const std::vector<uint8_t>& bytes,
               const std::vector<TextLine>& lines) {
  if (StartsWithUtf8Mark(bytes)) {
    run.Warn(entry, 1,
             "begins with a UTF-8 byte-order mark (EF BB BF); save it as code page 932 "
             "without one");
  }
  const TextLine* firstBreak = nullptr;
  size_t badBreaks = 0;
  const TextLine* firstText = nullptr;
  size_t badTexts = 0;
  size_t badAt = 0;
  for (const TextLine& line : lines) {
    if (line.end != LineEnd::kCrLf) {
      if (badBreaks++ == 0) firstBreak = &line;
    }
    const size_t at = FirstNonCp932(bytes.data() + line.start, line.length);
    if (at != std::string::npos) {
      if (badTexts++ == 0) {
        firstText = &line;
        badAt = at;
      }
    }
  }
  if (firstBreak != nullptr) {
    std::string message = firstBreak->end == LineEnd::kLf
                              ? "ends in LF alone, not CR LF"
                              : "ends in CR alone, not CR LF; the setup program takes the byte "
                                "after it for LF and drops it";
    if (badBreaks > 1) message += " (" + Plural(badBreaks - 1, "more line") + " too)";
    run.Warn(entry, firstBreak->number, message);
  }
  // UTF-8 Japanese is mostly valid code page 932 too, so only its look gives it away.
  int utf8Line = 0;
  if (ReadsAsUtf8(bytes, &utf8Line)) {
    run.Error(entry, utf8Line,
              "the text reads as UTF-8, so the setup program would show it garbled; "
              "save it as code page 932 (Shift_JIS) with CR LF, or pack it with "
              "--from-utf8 to convert it");
  } else if (firstText != nullptr) {
    char byte[8];
    setup::FormatText(byte, sizeof byte, "0x%02X", bytes[firstText->start + badAt]);
    std::string message = "not valid code page 932 text (byte " + std::string(byte) +
                          " at column " + std::to_string(badAt + 1) + ")";
    if (badTexts > 1) message += " (" + Plural(badTexts - 1, "more line") + " too)";
    run.Warn(entry, firstText->number, message);
  }
}

void CheckLicence(CheckRun& run) {
  const std::string name = setup::kLicenceEntry;
  if (!run.package.archive()->Has(name.c_str())) {
    run.Warn(name, 0,
             "not in the package: without a licence the setup program only upgrades an "
             "installed version, and with nothing installed it says so and ends");
    return;
  }
  std::vector<uint8_t> bytes;
  if (!LoadNeeded(run, name, "", &bytes)) return;
  int stopLine = 0;
  const std::vector<TextLine> lines = ReadLines(bytes, uint32_t(bytes.size() + 2), &stopLine);
  CheckText(run, name, bytes, lines);
}

}  // namespace zarc
