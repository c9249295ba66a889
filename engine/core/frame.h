// One frame as the backend draws it: an ordered list of textured triangles and text runs, all in
// the 800 x 600 virtual screen's pixels. Core decides what is drawn, where, in which order and how
// it blends; a backend only rasterises.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace engine {

// Names a texture, font or sound the backend was given; never reused within a process, never 0.
using ResourceId = uint32_t;

constexpr int kScreenWidth = 800;  // virtual screen, pixels
constexpr int kScreenHeight = 600;

struct Rgba {
  float r = 1;  // 0..1
  float g = 1;
  float b = 1;
  float a = 1;
};

struct Vertex {
  float x;  // screen pixels from the left
  float y;  // screen pixels from the top
  float u;  // texture coordinates; 0..1 spans the texture
  float v;
  Rgba colour;  // multiplies the texture (or is the colour itself when there is no texture)
};

enum class Blend : uint8_t {
  kAlpha,     // source over destination, weighted by alpha
  kAdditive,  // source times alpha added to the destination
};

enum class Addressing : uint8_t { kClamp, kWrap };

// Triangles indices[firstIndex .. firstIndex + indexCount) of the frame, drawn with one texture
// (0 = none: the vertex colours alone).
struct Geometry {
  ResourceId texture = 0;
  Blend blend = Blend::kAlpha;
  Addressing addressing = Addressing::kClamp;
  int32_t firstIndex = 0;
  int32_t indexCount = 0;
};

// A line of text laid out in fixed cells: character i occupies the cell whose left edge is
// left + i * advance, cellWidth wide, with its bottom edge on the base line and cellHeight tall.
// The backend draws each glyph centred in its cell, the font's base line on the cell's bottom,
// scaled so that the font's ascent fills the cell's height; the glyph keeps its own proportions.
struct TextRun {
  ResourceId font = 0;
  std::string text;      // bytes, one character each (Latin-1)
  float left = 0;        // pixels
  float baseline = 0;    // pixels from the top
  float advance = 0;     // pixels from one cell to the next
  float cellWidth = 0;   // pixels
  float cellHeight = 0;  // pixels
  Rgba colour;           // alpha blended
};

// What engine object an item shows, for inspection; backends ignore it.
struct ItemSource {
  enum class Kind : uint8_t { kMesh, kParticles, kText, kSprite };
  Kind kind = Kind::kMesh;
  int32_t handle = 0;  // the engine handle; for text, the position in the print queue
};

struct DrawItem {
  ItemSource source;
  std::variant<Geometry, TextRun> content;
};

// Items are drawn in order, each over the ones before it.
struct Frame {
  std::vector<Vertex> vertices;
  std::vector<int32_t> indices;  // into vertices
  std::vector<DrawItem> items;

  void Clear() {
    vertices.clear();
    indices.clear();
    items.clear();
  }
};

}  // namespace engine
