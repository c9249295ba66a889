#include "sprites/mesh_button.h"

#include <gtest/gtest.h>

namespace {

// With no engine open every picture is an empty handle; the button's own rules still run.
TMeshButton MakeButton(float left, float top, float width, float height) {
  return TMeshButton("data\\MainMenu.dat", 1, 0, 1000016, 1000010, width, height, left, top, 1,
                     false);
}

TEST(MeshButtonTest, HitTestIsStrictlyInsideTheMargins) {
  TMeshButton item = MakeButton(-20, 220, 366, 133);
  item.SetHitMargins(-20, 40);
  struct Case {
    int32_t x, y;
    bool hit;
  };
  for (const Case& c :
       {Case{-39, 300, true}, Case{365, 300, true}, Case{-40, 300, false}, Case{366, 300, false},
        Case{100, 261, true}, Case{100, 260, false}, Case{100, 312, true}, Case{100, 313, false}}) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(item.HitTest(c.x, c.y), c.hit);
  }

  TMeshButton plain = MakeButton(10, 10, 20, 20);
  EXPECT_FALSE(plain.HitTest(10, 15));
  EXPECT_TRUE(plain.HitTest(11, 15));
  EXPECT_FALSE(plain.HitTest(30, 15));
  EXPECT_TRUE(plain.HitTest(29, 29));
}

TEST(MeshButtonTest, GlowFadesWithinZeroAnd099) {
  TMeshButton button = MakeButton(0, 0, 100, 50);
  EXPECT_EQ(button.GlowAlpha, 0);
  EXPECT_EQ(button.HoverDir, -1);

  button.HoverOn();
  button.Animate();
  EXPECT_FLOAT_EQ(button.GlowAlpha, 0.05f);
  for (int i = 1; i < 25; ++i)
    button.Animate();
  EXPECT_EQ(button.GlowAlpha, 0.99f);

  button.HoverOff();
  for (int i = 0; i < 19; ++i)
    button.Animate();
  EXPECT_GT(button.GlowAlpha, 0);
  button.Animate();
  EXPECT_EQ(button.GlowAlpha, 0);
  button.Animate();
  EXPECT_EQ(button.GlowAlpha, 0);
}

}  // namespace
