// Where on the screen one frame differs from the one before it. Items are compared in drawing
// order, each with the item at the same place in the other frame; wherever an item changed, was
// added or went away, both its old and its new bounds have to be drawn again. Everywhere else
// the same items cover the same pixels in the same order, so the pixels there are the same.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>
#include <unordered_set>
#include <vector>

#include "core/frame.h"

namespace engine::sdl {

struct Damage {
  bool full = false;            // draw the whole screen
  std::vector<SDL_Rect> rects;  // otherwise these, disjoint; none when nothing changed

  int64_t Pixels() const;
};

// `boundsBefore` and `boundsAfter` hold, item by item, the pixels each item of the frame may
// touch, rounded outwards and clipped to the screen (empty when none). Damage covering most of the
// screen, or spread over more items than merging pays for, comes back as full. Items showing a
// texture or font in `replaced` count as changed. An item of `after` marked in `whole` looks
// different when a clip rectangle cuts it (a picture the software renderer stretches picks its
// texels from the clipped rectangle): a rectangle that reaches into it grows to take it in whole.
Damage FindDamage(const Frame& before, std::span<const SDL_Rect> boundsBefore, const Frame& after,
                  std::span<const SDL_Rect> boundsAfter, const std::vector<bool>& whole,
                  const std::unordered_set<ResourceId>& replaced);

// The box of the pixels a geometry item's triangles may touch, as above.
SDL_Rect GeometryBounds(const Frame& frame, const Geometry& geometry);

// Merges rectangles until no two overlap and at most `most` remain, at the least added area.
std::vector<SDL_Rect> MergeRects(std::vector<SDL_Rect> rects, size_t most);

}  // namespace engine::sdl
