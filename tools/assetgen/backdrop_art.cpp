// data/GameBack.dat: the skies behind the playfield. Pictures 1 and 2 form one 800 x 1200 field of
// distant stars, 3 and 4 a nearer, mostly clear layer; each pair scrolls down endlessly, so each
// field is drawn to wrap from its bottom edge to its top. 5 and 6 are still skies for the other
// two background types, 7 the planet that crosses the sky.
#include "assetgen/art.h"
#include "assetgen/random.h"
#include "assetgen/space.h"

namespace qbart {

namespace {

// Cuts an 800 x 1200 field into its upper and lower halves.
Canvas Half(const Canvas& field, bool upper) {
  Canvas half(800, 600);
  half.Paint(field, 0, upper ? 0 : -600);
  return half;
}

}  // namespace

void MakeBackdropArt(Output& out) {
  PackBuilder pack("data/GameBack.dat", out);

  Canvas far(800, 1200);
  FillSky(far, Hex(0x04040E), Hex(0x04040E));
  AddNebula(far, 900, {Hex(0x6040D0), Hex(0x101850), 4, 0.52, 0.45, 0.5}, true);
  AddNebula(far, 901, {Hex(0xD04080), Hex(0x301040), 6, 0.62, 0.35, 0.3}, true);
  Rng far_stars(902);
  AddStars(far, far_stars, 1300, 0.75, true);
  // Entry 0 is the picture that starts the lower layer on screen; entry 1 follows above it.
  pack.AddJpeg(0, Half(far, false), 90);
  pack.AddJpeg(1, Half(far, true), 90);

  Canvas near(800, 1200);
  AddNebula(near, 903, {Hex(0x40A0FF), Hex(0x102060), 5, 0.62, 0.3, 0.6}, true);
  Rng near_stars(904);
  AddStars(near, near_stars, 260, 1.0, true);
  pack.Add(2, Half(near, false));
  pack.Add(3, Half(near, true));

  Canvas nebula(800, 600);
  FillSky(nebula, Hex(0x05030E), Hex(0x0C0418));
  AddNebula(nebula, 905, {Hex(0xFF7040), Hex(0x601878), 2.5, 0.42, 0.9, 0.55}, false);
  Rng nebula_stars(906);
  AddStars(nebula, nebula_stars, 700, 0.9, false);
  pack.AddJpeg(4, nebula, 90);

  Canvas galaxy(800, 600);
  FillSky(galaxy, Hex(0x02060E), Hex(0x040A14));
  AddNebula(galaxy, 907, {Hex(0x40E0C0), Hex(0x103050), 3, 0.54, 0.42, 0.6}, false);
  Rng galaxy_stars(908);
  AddStars(galaxy, galaxy_stars, 800, 0.9, false);
  DrawQuasar(galaxy, 560, 190, 45, 0.8);
  pack.AddJpeg(5, galaxy, 90);

  Canvas planet(153, 153);
  DrawPlanet(planet, 76.5, 76.5, 66,
             {Hex(0x7CC8FF), Hex(0x02060C), Hex(0xF0F8FF), Hex(0x9FE0FF), 12, 61});
  pack.Add(6, planet);
  pack.Finish();
}

}  // namespace qbart
