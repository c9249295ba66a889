// The engine's own inputs: the particle glow, the quad model, the two fonts and the web shortcut.
#include <algorithm>
#include <cmath>
#include <string>

#include "assetgen/art.h"
#include "formats/byte_io.h"
#include "formats/file_io.h"

namespace qbart {

namespace {

// An uncompressed 32-bit DDS (BGRA, alpha included) of a soft round glow. Colour and alpha both
// fall off, so the spot stays round whether the engine adds it by alpha or by colour.
Bytes GlowTexture(int size) {
  Bytes dds = {'D', 'D', 'S', ' '};
  const uint32_t header[31] = {
      124,                             // header size
      0x1 | 0x2 | 0x4 | 0x8 | 0x1000,  // caps, height, width, pitch, pixel format
      static_cast<uint32_t>(size),
      static_cast<uint32_t>(size),
      static_cast<uint32_t>(size) * 4,  // bytes per row
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,           // depth, mipmaps, eleven reserved words
      32,          // pixel format size
      0x40 | 0x1,  // RGB with alpha
      0,
      32,
      0x00FF0000,
      0x0000FF00,
      0x000000FF,
      0xFF000000,
      0x1000,  // a texture
      0,
      0,
      0,
      0};
  for (uint32_t word : header) {
    qbtools::PutWord(dds, word);
  }
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double dx = (x + 0.5) / size * 2 - 1;
      const double dy = (y + 0.5) / size * 2 - 1;
      const double d = std::sqrt(dx * dx + dy * dy);
      const double falloff = d >= 1 ? 0 : std::pow(1 - d, 1.8) * (0.85 + 0.15 * (1 - d));
      const auto v = static_cast<uint8_t>(std::lround(std::clamp(falloff, 0.0, 1.0) * 255));
      dds.insert(dds.end(), {v, v, v, v});
    }
  }
  return dds;
}

// One quad, 1.6 x 1.6 units round the origin, its picture upright (v = 0 at the top).
const char kQuadModel[] =
    "xof 0303txt 0032\n"
    "\n"
    "Mesh Quad {\n"
    "  4;\n"
    "  -0.800000;0.800000;0.000000;,\n"
    "  0.800000;0.800000;0.000000;,\n"
    "  0.800000;-0.800000;0.000000;,\n"
    "  -0.800000;-0.800000;0.000000;;\n"
    "  2;\n"
    "  3;0,1,2;,\n"
    "  3;0,2,3;;\n"
    "\n"
    "  MeshTextureCoords {\n"
    "    4;\n"
    "    0.000000;0.000000;,\n"
    "    1.000000;0.000000;,\n"
    "    1.000000;1.000000;,\n"
    "    0.000000;1.000000;;\n"
    "  }\n"
    "}\n";

const char kShortcut[] =
    "[InternetShortcut]\r\n"
    "URL=https://quasarball.example.org/\r\n";

Bytes Text(const char* text) {
  return Bytes(text, text + std::char_traits<char>::length(text));
}

}  // namespace

void MakeEngineFiles(Output& out, const std::string& menu_font, const std::string& hud_font) {
  out.Write("data/particle_clot.dds", GlowTexture(64));
  out.Write("data/sprite.x", Text(kQuadModel));
  out.Write("play.url", Text(kShortcut));
  out.Write("data/_fontw/Millenium BdEx BT.wid", qbtools::ReadFile(menu_font));
  out.Write("data/_fontg/Square721 BT.wid", qbtools::ReadFile(hud_font));
}

}  // namespace qbart
