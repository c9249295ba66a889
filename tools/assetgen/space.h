// Deep-space scenery shared by the menu, the loading picture and the game backgrounds.
#pragma once

#include "assetgen/canvas.h"
#include "assetgen/random.h"

namespace qbart {

struct NebulaStyle {
  Rgb inner;         // colour of the densest gas
  Rgb outer;         // colour at its thin edges
  double scale;      // noise cells across the picture's width
  double threshold;  // 0..1: how much of the sky stays clear
  double strength;   // brightness of the gas
  double dust;       // 0..1: dark lanes cut into it
};

// Adds a glowing gas cloud. With `tile_y` the cloud repeats from bottom to top.
void AddNebula(Canvas& canvas, uint64_t seed, const NebulaStyle& style, bool tile_y);

// Sprinkles `count` stars; the brightest get a halo and a four-pointed flare. With `tile_y`,
// stars near the bottom edge also appear at the top so the picture tiles vertically.
void AddStars(Canvas& canvas, Rng& rng, int count, double brightness, bool tile_y);

// A sky gradient from `top` to `bottom`.
void FillSky(Canvas& canvas, Rgb top, Rgb bottom);

struct PlanetStyle {
  Rgb light;  // lit surface
  Rgb dark;   // shadowed surface
  Rgb bands;  // colour of the cloud bands
  Rgb atmosphere;
  double band_scale;
  uint64_t seed;
};
// A lit sphere with banded clouds and an atmosphere rim; light comes from the upper left.
void DrawPlanet(Canvas& canvas, double cx, double cy, double radius, const PlanetStyle& style);

// The game's namesake: a blazing core, a tilted accretion disc and two jets.
void DrawQuasar(Canvas& canvas, double cx, double cy, double size, double tilt);

// A bright star with a soft halo and long flare spikes.
void DrawFlare(Canvas& canvas, double cx, double cy, double size, Rgb colour, double spikes);

// A lumpy rock seen from above, turned by `angle` radians under a light fixed at the upper left;
// `size` is its width in pixels.
void DrawAsteroid(Canvas& canvas, double cx, double cy, double size, double angle, uint64_t seed);

}  // namespace qbart
