#include "ui/licence_dialog.h"

#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "base/text_buffer.h"
#include "model/control_ids.h"
#include "model/package_layout.h"
#include "platform/views.h"

namespace setup {

void LicenceDialog::Initialise() {
  MemoryStream stream;
  archive_.Load(kLicenceEntry, stream);  // a missing entry leaves the stream empty: an empty text
  // However long the licence is, all of it is shown; the buffer always ends in a NUL, so a text
  // holding a zero byte still ends there.
  TextBuffer<char> text;
  if (text.Resize(stream.Size())) stream.Read(text.data(), stream.Size());
  view_.SetControlText(IDC_LICENCE_TEXT, text.c_str());
}

bool LicenceDialog::Command(int id) {
  if (id != IDC_OK && id != IDC_DISMISS) return false;
  view_.End(id);
  return true;
}

}  // namespace setup
