// The main window's picture from the package: accepted or refused by LoadPicture, and when
// accepted, every byte that painting it reads (header, colour table or masks, rows) is read here.
#include "app/main_window.h"
#include "app/picture.h"
#include "archive/memory_stream.h"
#include "archive/package_archive.h"
#include "fakes/fake_file_system.h"
#include "platform/memory/memory_resources.h"
#include "fakes/fake_view.h"
#include "fuzz_support.h"
#include "app/session.h"
#include "platform/memory/memory_registry.h"

using namespace setup;

namespace {

// What a 1:1 StretchDIBits of the picture reads, worked out from the header alone.
void ReadAsPainted(const PictureToPaint& picture) {
  const uint8_t* info = picture.info;
  const uint32_t headerSize = fuzz::Le32(info);
  const uint16_t bits = uint16_t(info[14] | info[15] << 8);
  const uint32_t compression = fuzz::Le32(info + 16);
  const uint32_t coloursUsed = fuzz::Le32(info + 32);
  size_t table = bits <= 8 ? (coloursUsed != 0 ? coloursUsed : 1u << bits) * 4 : size_t(coloursUsed) * 4;
  if (compression == 3 && headerSize == 40) table += 12;  // the three BI_BITFIELDS masks
  fuzz::ReadAll(info, headerSize + table);

  FUZZ_CHECK(picture.width > 0 && picture.height > 0);
  const size_t stride = (size_t(picture.width) * bits + 31) / 32 * 4;
  fuzz::ReadAll(picture.bits, stride * size_t(picture.height));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  testing::FakeFileSystem files;
  files.AddFile("setup256.bmp", fuzz::ToBytes(data, size));
  MemoryResources resources;
  resources.Add(135, fuzz::EmptyArchive());
  static SetupSession session;
  session.pictures = Pictures();
  FUZZ_CHECK(session.archive.Open(files, resources, 135));

  MemoryStream stream;
  Pictures& pictures = session.pictures;
  if (LoadPicture(stream, session.archive, "setup256.bmp", &pictures.pictureInfo, &pictures.pictureBits)) {
    MemoryRegistry registry;
    testing::FakeShell shell;
    MainWindowPlatform platform{files, registry, shell};
    testing::FakeView view(testing::MainWindowControls());
    ReadAsPainted(MainWindow(platform, session, view).Picture());
  }
  session.archive.Close();
  return 0;
}
