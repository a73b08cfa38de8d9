// The two pictures of a starter project, in the forms the setup program expects, made without any
// floating point so that every system writes the same bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace zarc {

// "setup256.bmp": 320 x 192, 8 bits with a 256-colour palette; a quiet grey-blue gradient in a
// thin frame, to be replaced by the product's own picture.
std::vector<uint8_t> StarterMainPicture();

// "parts.bmp": 64 x 1024, 24 bits; sixteen 64 x 64 frames, top to bottom, of a ring whose lit arc
// turns a sixteenth further in each frame: the busy animation.
std::vector<uint8_t> StarterBusyAnimation();

}  // namespace zarc
