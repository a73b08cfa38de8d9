// The picture check: the main window's pictures are bitmaps the program shows.
#include <cstdlib>
#include <string>

#include "app/picture.h"
#include "model/package_layout.h"
#include "archive/memory_stream.h"
#include "zarc/check/check_run.h"

namespace zarc {

void CheckPicture(CheckRun& run, const std::string& name) {
  std::vector<uint8_t> unused;
  if (!LoadNeeded(run, name, "the setup program would end without a window", &unused)) return;
  setup::MemoryStream stream;
  const uint8_t* info = nullptr;
  const uint8_t* bits = nullptr;
  const bool shown = setup::LoadPicture(stream, *run.package.archive(), name.c_str(), &info, &bits);
  if (!shown) {
    run.Error(name, 0,
              "not a picture the setup program can show (an uncompressed Windows bitmap of "
              "1 to 32 bits per pixel, with its header, palette and rows inside the file), "
              "so it would end without a window");
  } else if (name == setup::kPartsPictureEntry) {
    const int32_t width = setup::PictureWidth(info);
    const int32_t height = std::abs(setup::PictureHeight(info));
    if (height < width) {
      run.Warn(name, 0,
               std::to_string(width) + " x " + std::to_string(height) +
                   " holds no square frame, so no busy animation is shown (expected: "
                   "64 x 1024, sixteen 64 x 64 frames)");
    }
  }
}

}  // namespace zarc
