#include "ui/licence_dialog.h"

#include <string>

#include "app/control_ids.h"
#include "app/texts.h"
#include "archive/memory_stream.h"
#include "platform/views.h"

namespace setup {

void LicenceDialog::Initialise() {
  MemoryStream stream;
  stream.LoadEntry(kLicenceEntry);  // a missing entry leaves the stream empty: an empty text
  // However long the licence is, all of it is shown; a string always ends in a NUL, so a text
  // holding a zero byte still ends there.
  std::string text(stream.Size(), '\0');
  if (!text.empty()) stream.Read(&text[0], stream.Size());
  view_.SetControlText(IDC_LICENCE_TEXT, text.c_str());
  stream.Release();
}

bool LicenceDialog::Command(int id) {
  if (id != IDC_OK && id != IDC_DISMISS) return false;
  view_.End(id);
  return true;
}

}  // namespace setup
