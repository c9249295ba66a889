// Particles: bursts, movement, expiry, and where they land on the screen.
#include <cmath>

#include "engine_fixture.h"
#include "sample_files.h"

namespace {

class ParticlesTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    WriteFile("data/particle_clot.dds", sample::Dds(4, 4, 255, 255, 255, 255));
    OpenEngine();
  }

  // A system set up like the game's ball trail.
  void MakeTrail(int32_t capacity, float lifetime) {
    system_ = iParticleCreate("data\\particle_clot.dds", capacity);
    ASSERT_NE(system_, 0);
    iParticleGravitySet(system_, {0, 0, 1000});
    iParticleAirResistanceSet(system_, 10);
    iParticleColorSet(system_, {0, 0, 1}, {0, 0, 1});
    iParticleLifeTimeSet(system_, lifetime);
    iParticleRenderModeSet(system_, 0);
    iParticleShow(system_);
    emitter_ = iParticleEmitterCreate(system_);
    iParticleEmitterLocationSet(emitter_, {0, -3, 0});
    iParticleEmitterDirectionSet(emitter_, {0, 0, 0}, {0, 0, 0});
    iParticleEmitterSpeedSet(emitter_, 4.0f, 4.1f);
    iParticleEmitterScaleSet(emitter_, {0.2f, 0.2f}, {0.2f, 0.2f});
  }

  headless::ParticleView View() {
    for (const auto& view : headless::ParticleSystems()) {
      if (view.handle == system_) {
        return view;
      }
    }
    ADD_FAILURE() << "no such particle system";
    return {};
  }

  int32_t system_ = 0;
  int32_t emitter_ = 0;
};

TEST_F(ParticlesTest, BurstsGrowWithAmountAndIntensityUpToCapacity) {
  MakeTrail(100, 1.0f);
  iParticleEmitterEmit(emitter_, 20, 0.5f);
  EXPECT_EQ(View().alive, 1);
  iParticleEmitterEmit(emitter_, 100, 0.3f);
  EXPECT_EQ(View().alive, 4);
  iParticleEmitterEmit(emitter_, 100, 1.0f);
  EXPECT_EQ(View().alive, 14);
  iParticleEmitterEmit(emitter_, 0, 1.0f);
  iParticleEmitterEmit(emitter_, 100, -1.0f);
  EXPECT_EQ(View().alive, 14);
  for (int i = 0; i < 20; ++i) {
    iParticleEmitterEmit(emitter_, 100, 1.0f);
  }
  EXPECT_EQ(View().alive, 100);
}

TEST_F(ParticlesTest, ParticlesExpireAfterTheirLifetime) {
  MakeTrail(100, 0.2f);
  iParticleEmitterEmit(emitter_, 100, 1.0f);
  ASSERT_EQ(View().alive, 10);
  for (int pass = 0; pass < 11; ++pass) {  // 11/60 s < 0.2 s
    i3ImpactMain();
  }
  EXPECT_EQ(View().alive, 10);
  i3ImpactMain();
  i3ImpactMain();
  EXPECT_EQ(View().alive, 0);
}

TEST_F(ParticlesTest, AFullSystemMakesRoomForTheNewest) {
  MakeTrail(10, 10.0f);
  iParticleEmitterLocationSet(emitter_, {0, 0, 1.5f});
  iParticleEmitterEmit(emitter_, 100, 1.0f);
  i3ImpactMain();
  iParticleEmitterLocationSet(emitter_, {10, 0, 1.5f});
  iParticleEmitterEmit(emitter_, 50, 1.0f);
  const auto view = View();
  ASSERT_EQ(view.alive, 10);
  // The newest five stand at the new place (x 10 is pixel 480).
  for (int i = 5; i < 10; ++i) {
    EXPECT_NEAR(view.positions[i].x, 480, 1) << i;
  }
  EXPECT_LT(view.positions[0].x, 420);
}

TEST_F(ParticlesTest, EngineSpaceParticlesLandOnTheirPlayfieldPoint) {
  MakeTrail(100, 1.0f);
  iParticleEmitterSpeedSet(emitter_, 0, 0);
  // Playfield (x, y) is screen ((x + 16) / 32 * 800, (12 - y) / 24 * 600).
  for (const auto& [x, y] : {std::pair{0.0f, 0.0f}, {10.0f, -8.0f}, {-15.0f, 11.0f}}) {
    iParticleEmitterLocationSet(emitter_, {x * 3.12f, y * 3, 1.5f});
    iParticleEmitterEmit(emitter_, 10, 1);
    const Vec2f at = View().positions.back();
    EXPECT_NEAR(at.x, (x + 16) / 32 * 800, 0.5) << x;
    EXPECT_NEAR(at.y, (12 - y) / 24 * 600, 0.5) << y;
  }
}

TEST_F(ParticlesTest, DirectionRangeAndGravityMoveParticles) {
  MakeTrail(100, 1.0f);
  iParticleGravitySet(system_, {0, 0, 0});
  iParticleAirResistanceSet(system_, 0);
  iParticleEmitterLocationSet(emitter_, {0, 0, 0});
  iParticleEmitterDirectionSet(emitter_, {0, -1, 0}, {0, -1, 0});
  iParticleEmitterSpeedSet(emitter_, 10, 10);
  iParticleEmitterEmit(emitter_, 10, 1);
  headless::SetAutoAdvance(0.1);
  i3ImpactMain();
  // Downwards: one unit in a tenth of a second, a third of a playfield unit on the screen.
  EXPECT_NEAR(View().positions[0].y, 300 + 25.0 / 3, 1e-3);
  EXPECT_NEAR(View().positions[0].x, 400, 1e-3);

  // No direction: every way, so a burst spreads around the emitter.
  iParticleEmitterDirectionSet(emitter_, {0, 0, 0}, {0, 0, 0});
  iParticleEmitterEmit(emitter_, 1000, 1);
  i3ImpactMain();
  int left = 0, right = 0, up = 0, down = 0;
  for (const Vec2f& p : View().positions) {
    left += p.x < 399;
    right += p.x > 401;
    up += p.y < 299;
    down += p.y > 301;
  }
  EXPECT_GT(left, 20);
  EXPECT_GT(right, 20);
  EXPECT_GT(up, 20);
  EXPECT_GT(down, 20);
}

TEST_F(ParticlesTest, HiddenSystemsAreNotDrawnAndMissingTexturesDrawPlain) {
  const int32_t plain = iParticleCreate("data\\nothing.dds", 5);
  ASSERT_NE(plain, 0);
  iParticleEmitterEmit(iParticleEmitterCreate(plain), 10, 1);
  EXPECT_TRUE(headless::DrawOrder().empty()) << "a new system starts hidden";
  iParticleShow(plain);
  ASSERT_EQ(headless::DrawOrder().size(), 1u);
  EXPECT_EQ(iParticleCreate("data\\particle_clot.dds", 0), 0);
}

}  // namespace
