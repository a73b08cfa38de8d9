#include "zarc/init/starter_pictures.h"

#include "base/byte_order.h"

namespace zarc {

namespace {

using setup::AppendLE16;
using setup::AppendLE32;

struct Colour {
  uint8_t red, green, blue;
};

// An uncompressed bottom-up Windows bitmap file: file header, 40-byte info header, palette, rows.
// pixels holds the rows top row first, each width * bits / 8 bytes.
std::vector<uint8_t> BitmapFile(int32_t width, int32_t height, uint16_t bits,
                                const std::vector<Colour>& palette, const std::vector<uint8_t>& pixels) {
  const uint32_t row = uint32_t(width) * bits / 8;
  const uint32_t stride = (row + 3) / 4 * 4;
  const uint32_t offset = 14 + 40 + 4 * uint32_t(palette.size());
  const uint32_t imageSize = stride * uint32_t(height);
  std::vector<uint8_t> file{'B', 'M'};
  AppendLE32(&file, offset + imageSize);
  AppendLE32(&file, 0);
  AppendLE32(&file, offset);
  AppendLE32(&file, 40);
  AppendLE32(&file, uint32_t(width));
  AppendLE32(&file, uint32_t(height));
  AppendLE16(&file, 1);
  AppendLE16(&file, bits);
  AppendLE32(&file, 0);  // no compression
  AppendLE32(&file, imageSize);
  AppendLE32(&file, 2835);  // 72 dots per inch
  AppendLE32(&file, 2835);
  AppendLE32(&file, uint32_t(palette.size()));
  AppendLE32(&file, 0);
  for (const Colour& c : palette) file.insert(file.end(), {c.blue, c.green, c.red, 0});
  for (int32_t y = height; y-- > 0;) {
    file.insert(file.end(), pixels.begin() + y * row, pixels.begin() + (y + 1) * row);
    file.insert(file.end(), stride - row, 0);
  }
  return file;
}

uint8_t Between(uint8_t from, uint8_t to, int step, int steps) {
  return uint8_t(from + (int(to) - int(from)) * step / steps);
}

// Sixteen directions, a sixteenth of a turn apart, as cosines times 1000.
const int kCosine[16] = {1000, 924, 707, 383, 0, -383, -707, -924,
                         -1000, -924, -707, -383, 0, 383, 707, 924};
int Cosine(int direction) { return kCosine[direction & 15]; }
int Sine(int direction) { return Cosine(direction + 12); }

// True when (x, y) lies in the wedge from direction `from` turning to direction `from + 2`.
bool InWedge(int x, int y, int from) {
  const int to = from + 2;
  return Cosine(from) * y - Sine(from) * x >= 0 && x * Sine(to) - y * Cosine(to) > 0;
}

}  // namespace

std::vector<uint8_t> StarterMainPicture() {
  constexpr int kWidth = 320, kHeight = 192, kFrame = 4;
  constexpr uint8_t kFrameColour = 255;
  std::vector<Colour> palette;
  for (int i = 0; i < 255; ++i) {
    palette.push_back(Colour{Between(236, 150, i, 254), Between(239, 164, i, 254),
                             Between(243, 186, i, 254)});
  }
  palette.push_back(Colour{104, 116, 134});
  std::vector<uint8_t> pixels;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool frame = x < kFrame || y < kFrame || x >= kWidth - kFrame || y >= kHeight - kFrame;
      pixels.push_back(frame ? kFrameColour : uint8_t(y * 254 / (kHeight - 1)));
    }
  }
  return BitmapFile(kWidth, kHeight, 8, palette, pixels);
}

std::vector<uint8_t> StarterBusyAnimation() {
  constexpr int kSide = 64, kFrames = 16;
  const Colour background{242, 242, 242}, ring{204, 208, 214}, trail{140, 170, 214}, lit{40, 96, 200};
  std::vector<uint8_t> pixels;
  for (int frame = 0; frame < kFrames; ++frame) {
    for (int row = 0; row < kSide; ++row) {
      for (int column = 0; column < kSide; ++column) {
        // Twice the distance from the centre, which lies between four pixels.
        const int x = 2 * column - (kSide - 1), y = 2 * row - (kSide - 1);
        const int distance = x * x + y * y;
        Colour c = background;
        if (distance > 36 * 36 && distance < 56 * 56) {
          c = InWedge(x, y, frame) ? lit : InWedge(x, y, frame - 2) ? trail : ring;
        }
        pixels.insert(pixels.end(), {c.blue, c.green, c.red});
      }
    }
  }
  return BitmapFile(kSide, kSide * kFrames, 24, {}, pixels);
}

}  // namespace zarc
