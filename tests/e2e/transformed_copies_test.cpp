// Copies of small pictures at the angle and size they are drawn at: quads at nearly the same
// angle share one, other angles and sizes get their own, and a picture's copies go with it.
#include "sdl/transformed_copies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace engine::sdl {
namespace {

struct PictureFree {
  void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};

// The quad of a `width` x `height` picture drawn at `scale` times its size, turned by `degrees`,
// centred on (cx, cy).
TransformedCopies::Quad Turned(ResourceId id, pixman_image_t* picture, int width, int height,
                               double cx, double cy, double scale, double degrees) {
  TransformedCopies::Quad quad;
  quad.id = id;
  quad.picture = picture;
  quad.width = width;
  quad.height = height;
  // Screen to texels: turn back, shrink, and put the centre at the picture's.
  const double angle = degrees * M_PI / 180, c = std::cos(angle), s = std::sin(angle);
  pixman_f_transform_init_identity(&quad.toTexels);
  quad.toTexels.m[0][0] = c / scale;
  quad.toTexels.m[0][1] = s / scale;
  quad.toTexels.m[1][0] = -s / scale;
  quad.toTexels.m[1][1] = c / scale;
  quad.toTexels.m[0][2] = width / 2.0 - (c * cx + s * cy) / scale;
  quad.toTexels.m[1][2] = height / 2.0 - (-s * cx + c * cy) / scale;
  return quad;
}

TEST(TransformedCopies, NearAnglesShareACopyAndAPicturesCopiesGoWithIt) {
  std::vector<uint32_t> pixels(16 * 15, 0xC0806040);
  std::unique_ptr<pixman_image_t, PictureFree> picture(
      pixman_image_create_bits(PIXMAN_a8r8g8b8, 16, 15, pixels.data(), 16 * 4));
  TransformedCopies copies;
  const auto first = copies.For(Turned(1, picture.get(), 16, 15, 100, 100, 1, 30));
  ASSERT_TRUE(first);
  // The same angle a hair apart, somewhere else on the screen: the same copy, placed there.
  const auto near = copies.For(Turned(1, picture.get(), 16, 15, 300.4, 200.6, 1, 30.01));
  ASSERT_TRUE(near);
  EXPECT_EQ(near->image, first->image);
  EXPECT_EQ(near->x - first->x, 200);
  EXPECT_EQ(near->y - first->y, 101);
  EXPECT_EQ(copies.Count(), 1u);

  // Another angle, another size, another picture: copies of their own.
  EXPECT_NE(copies.For(Turned(1, picture.get(), 16, 15, 100, 100, 1, 45))->image, first->image);
  EXPECT_NE(copies.For(Turned(1, picture.get(), 16, 15, 100, 100, 1.5, 30))->image, first->image);
  EXPECT_NE(copies.For(Turned(2, picture.get(), 16, 15, 100, 100, 1, 30))->image, first->image);
  EXPECT_EQ(copies.Count(), 4u);

  // At its own size, upright, the picture itself is drawn: no copy.
  EXPECT_FALSE(copies.For(Turned(1, picture.get(), 16, 15, 100, 100, 1, 0)));

  copies.Forget(1);
  EXPECT_EQ(copies.Count(), 1u);
}

TEST(TransformedCopies, ManyAnglesKeepOnlyRecentCopiesOnceTheyTakeTooMuchRoom) {
  std::vector<uint32_t> pixels(64 * 64, 0xFFFFFFFF);
  std::unique_ptr<pixman_image_t, PictureFree> picture(
      pixman_image_create_bits(PIXMAN_a8r8g8b8, 64, 64, pixels.data(), 64 * 4));
  TransformedCopies copies;
  // About 40 KB a copy: a few hundred angles are more than the room kept for copies.
  for (int frame = 0; frame < 400; ++frame) {
    copies.NextFrame();
    ASSERT_TRUE(copies.For(Turned(1, picture.get(), 64, 64, 400, 300, 1.5, frame * 0.9)));
  }
  EXPECT_LT(copies.Count(), 200u);
  EXPECT_GT(copies.Count(), 2u);
}

}  // namespace
}  // namespace engine::sdl
