// What the objects put on the screen, read back from the engine: where the pictures stand and
// which are shown.
#include <gtest/gtest.h>

#include <optional>

#include "app/input_mouse.h"
#include "headless/headless.h"
#include "objects/missile.h"
#include "play_fixture.h"

namespace {

class ObjectSceneTest : public PlayTest {
 protected:
  ObjectSceneTest() { WithEngine = true; }

  // The mesh as drawn, if it is visible.
  static std::optional<headless::MeshView> Drawn(int32_t mesh) {
    for (const auto& view : headless::VisibleMeshes())
      if (view.handle == mesh)
        return view;
    return std::nullopt;
  }

  static void ExpectCentre(int32_t mesh, float x, float y, float w, float h) {
    const auto view = Drawn(mesh);
    ASSERT_TRUE(view.has_value()) << "mesh " << mesh << " is not shown";
    EXPECT_NEAR(view->left + view->width / 2, x, 1e-2);
    EXPECT_NEAR(view->top + view->height / 2, y, 1e-2);
    EXPECT_NEAR(view->width, w, 1e-2);
    EXPECT_NEAR(view->height, h, 1e-2);
  }
};

TEST_F(ObjectSceneTest, PaddleStandsTenPixelsHighAndShowsItsGunOnlyInGunMode) {
  ASSERT_NE(Paddle().Body->Mesh, 0);
  // (0, -10): 400 across; the paddle is drawn 10 pixels above the plain mapping of its y.
  ExpectCentre(Paddle().Body->Mesh, 400, 540, 140, 65);
  EXPECT_FALSE(Drawn(Paddle().Gun->Mesh).has_value());

  Paddle().ApplyBonus(8);
  // The gun sits 1.9 units above the centre.
  ExpectCentre(Paddle().Gun->Mesh, 400, 502.5f, 91, 34);

  Paddle().ApplyBonus(2);  // size 3
  ExpectCentre(Paddle().Body->Mesh, 400, 540, 185, 58);
  ExpectCentre(Paddle().Gun->Mesh, 400, 502.5f, 139, 35);
}

TEST_F(ObjectSceneTest, BallAndGlareFollowTheBall) {
  TBubble& ball = Fly(0, -8, 0, 0, 0.2L);
  ball.Sprite->Show();
  ball.Glare->Show();
  ball.Update();
  // (-8, 0.2): a quarter across, just above the middle.
  ExpectCentre(ball.Sprite->Mesh, 200, 295, 100, 100);
  ExpectCentre(ball.Glare->Mesh, 200, 295, 100, 100);
}

TEST_F(ObjectSceneTest, ABrokenBlockGivesWayToDebrisAndItsDrop) {
  TBlock& block = AddBlock(1, 10, 10);
  block.Sprite->Show();
  ExpectCentre(block.Sprite->Mesh, 380, 300, 40, 30);
  block.Hit();
  EXPECT_FALSE(Drawn(block.Sprite->Mesh).has_value());
  // Debris starts on the block, drawn 10 pixels higher like the paddle.
  ExpectCentre(Game->Debris[0].Sprite->Mesh, 380, 290, 16, 15);

  // A released bonus shows where the block was and disappears when caught.
  TBonus& bonus = BonusOf(13, 0);
  bonus.Release(block.X, block.Y);
  ExpectCentre(bonus.Sprite->Mesh, 380, 300, 63, 49);
  bonus.Release(0, -9.5L);
  bonus.Update();
  EXPECT_FALSE(Drawn(bonus.Sprite->Mesh).has_value());
}

TEST_F(ObjectSceneTest, FiredMissileIsShownAboveThePaddleAndHiddenWhenItHits) {
  Paddle().ApplyBonus(8);
  MouseButtonClicked = 1;
  Paddle().Update();
  MouseButtonClicked = 0;
  const TBitaMissile& missile = *Paddle().Missiles[0];
  ASSERT_TRUE(missile.Active);
  // Size 1, right side: 1.5 units right of the paddle, 2.5 above it.
  ExpectCentre(missile.Sprite->Mesh, 437.5f, 487.5f, 18, 49);

  TBlock& block = AddBlock(1, 14, 11);
  block.X = missile.X;
  block.Y = missile.Y + 1.5L;
  Paddle().Update();
  EXPECT_FALSE(missile.Active);
  EXPECT_FALSE(Drawn(missile.Sprite->Mesh).has_value());
}

}  // namespace
