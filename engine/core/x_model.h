// Reader for the subset of the DirectX text model format (".x") the game's quad needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/engine.h"

namespace engine {

struct Model {
  std::vector<Vec3f> positions;    // model units
  std::vector<Vec2f> uvs;          // one per position; 0..1 spans the texture
  std::vector<int32_t> triangles;  // three position indices each
  Vec3f min{0, 0, 0};              // bounding box, model units
  Vec3f max{0, 0, 0};
};

// Accepts a text ".x" file ("xof 0302txt 0032" or 0303) holding a Mesh — at the top level or in a
// Frame — with its positions, polygon faces (fanned into triangles) and a MeshTextureCoords block
// with one coordinate per position. Templates and other blocks are skipped. Nothing for binary or
// compressed files, missing parts, counts that disagree, indices out of range or numbers that do
// not parse.
std::optional<Model> ReadXModel(std::string_view text);

}  // namespace engine
