// The engine resources of play: made on the first game start, made again after every reopen.

#include "app/music.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "game/asteroid.h"
#include "game/game.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/bonus.h"
#include "objects/enemy.h"
#include "objects/paddle.h"
#include "sprites/image_pack.h"
#include "sprites/particle_effect.h"
#include "sprites/screen_placement.h"

namespace {

constexpr int32_t kWrapTextures = 3;

void CreateBlast(TBlast& blast) {
  constexpr Vec3f kRed{1, 0, 0};
  constexpr Vec3f kYellow{1, 1, 0};
  constexpr Vec2f kSmall{0.1f, 0.1f};
  const auto centre = CreateBurstEffect(kRed, 0.7f, {0.2f, 0.2f}, {0.5f, 0.5f});
  const auto second = CreateBurstEffect(kYellow, 0.7f, kSmall, kSmall);
  const auto third = CreateBurstEffect(kYellow, 0.7f, kSmall, kSmall);
  const auto fourth = CreateBurstEffect(kYellow, 0.7f, kSmall, kSmall);
  blast.P1 = centre.Particles;
  blast.E1 = centre.Emitter;
  blast.P2 = second.Particles;
  blast.E2 = second.Emitter;
  blast.P3 = third.Particles;
  blast.E3 = third.Emitter;
  blast.P4 = fourth.Particles;
  blast.E4 = fourth.Emitter;
  blast.Active = false;
}

Vec3f EnemyBlastColour(int set) {
  if (set < 3)
    return {0, 156.0f / 255, 1};
  if (set < 6)
    return {1, 156.0f / 255, 0};
  return {84.0f / 255, 1, 0};
}

void CreateEnemyBlast(TEnemyBlast& blast, int set) {
  const auto effect = CreateBurstEffect(EnemyBlastColour(set), 2.0f, {0.2f, 0.2f}, {0.5f, 0.5f});
  blast.Particles = effect.Particles;
  blast.Emitter = effect.Emitter;
  blast.Active = false;
}

template <size_t N>
void LoadPackRow(std::array<int32_t, N>& row, const char* pack, int first, int count,
                 int32_t tagBase) {
  for (int k = 1; k <= count; ++k)
    row[first + k - 1] = LoadPackTexture(pack, static_cast<uint16_t>(k - 1), tagBase + k);
}

std::unique_ptr<TMeshSprite> CreateBackLayer() {
  auto sprite =
      TMeshSprite::CreateFromPack("data\\GameBack.dat", 0, 1004060, 800, 600, 0, 0, 10, false);
  iMeshTextureModeSet(sprite->Mesh, kWrapTextures);
  return sprite;
}

std::unique_ptr<TMeshSprite> CreatePlanet(int32_t texture) {
  auto sprite =
      TMeshSprite::CreateFromPack("data\\GameBack.dat", 6, 1004066, 153, 153, 0, 0, 10, false);
  iMeshTextureModeSet(sprite->Mesh, kWrapTextures);
  iMeshTextureSet(sprite->Mesh, texture);
  return sprite;
}

void SetTexture(const TMeshSprite& sprite, int32_t texture) {
  iMeshTextureReset(sprite.Mesh);
  iMeshTextureSet(sprite.Mesh, texture);
}

}  // namespace

// Steps shared by the first creation and the re-creation: effects, pause picture, textures,
// debris, blasts, sounds.
void TGame::CreateEngineResources() {
  const auto escort = CreateJetExhaust({1, 1, 1}, {0.6f, 0.6f, 0.6f});
  EscortParticles = escort.Particles;
  EscortEmitter = escort.Emitter;

  PauseSprite = TMeshSprite::Create("data\\Pause.png", 800, 600, 0, 0, 18, false);

  LoadPackRow(BlockTextures, "data\\Blocks.dat", 1, 10, 1002079);
  LoadPackRow(DebrisTextures, "data\\BlocksExplo.dat", 1, 10, 1004100);

  for (auto& piece : Debris) {
    piece.Sprite = TMeshSprite::CreateBare(14);
    SetMeshScreenSize(piece.Sprite->Mesh, 16, 15);
  }
  for (auto& blast : Blasts)
    CreateBlast(blast);

  LoadPackRow(ExplosionTextures, "data\\Explo.dat", 1, 16, 1002999);
  LoadPackRow(AsteroidTextures, "data\\Asteroid.dat", 1, 12, 1004085);
  for (int s = 1; s <= 4; ++s) {
    for (int m = 1; m <= 3; ++m)
      PaddleTextures[s][m] = LoadPackTexture(
          "data\\Bita.dat", static_cast<uint16_t>((s - 1) * 3 + m - 1), 1003046 + 3 * s + m);
    PaddleGunTextures[s] =
        LoadPackTexture("data\\Bita.dat", static_cast<uint16_t>(11 + s), 1003061 + s);
  }
  for (int k = 1; k <= 5; ++k)
    PaddleExtraTextures[k] =
        LoadPackTexture("data\\Bita.dat", static_cast<uint16_t>(17 + k), 1003067 + k);
  for (int k = 1; k <= 2; ++k)
    MissileTextures[k] =
        LoadPackTexture("data\\Bita.dat", static_cast<uint16_t>(15 + k), 1003065 + k);
  for (int j = 0; j < 3; ++j)
    for (int k = 0; k < 5; ++k)
      EnemyTextures[j][k] = LoadPackTexture("data\\Enemies.dat", static_cast<uint16_t>(5 * j + k),
                                            1004010 + 5 * j + k);
  for (int j = 0; j < 16; ++j)
    for (int k = 0; k < 8; ++k)
      BonusTextures[j][k] = LoadPackTexture("data\\Bonuses.dat", static_cast<uint16_t>(8 * j + k),
                                            1003085 + 8 * j + k);
  BallTexture = iTextureCreate("data\\Bubble.png");
  BallTextureGlare = iTextureCreate("data\\BubbleGlare.png");
  BallTextureArmored = iTextureCreate("data\\BubbleArmored.png");
  SoundLevelComplete = iSoundCreate("sound\\level_complete.wav", 0);
  SoundGameOver = iSoundCreate("sound\\game_over.wav", 0);
  SoundOutOfTime = iSoundCreate("sound\\out_time.wav", 0);
}

void TGame::CreateBackgroundSprites() {
  LoadPackRow(BackTextures, "data\\GameBack.dat", 1, 7, 1004059);
  BackA1 = CreateBackLayer();
  BackA2 = CreateBackLayer();
  BackB1 = CreateBackLayer();
  BackB2 = CreateBackLayer();
  Planet = CreatePlanet(BackTextures[7]);
}

void TGame::CreateInterfaceSprites() {
  BarrierSprite =
      TMeshSprite::CreateFromPack("data\\Interface.dat", 1, 1004100, 802, 22, 0, 560, 10, false);
  EscortSprite = TMeshSprite::Create("data\\DB.png", 129, 33, 400, 540, 10, true);
  for (int set = 0; set < kEnemyBlastCount; ++set)
    CreateEnemyBlast(EnemyBlasts[set], set);
  OverlaySprite = TMeshSprite::CreateBare(17);
  SetMeshScreenSize(OverlaySprite->Mesh, 802, 600);
  SetMeshScreenPos(OverlaySprite->Mesh, 400, 300);
  InterfaceTexture = LoadPackTexture("data\\Interface.dat", 0, 1002050);
}

void TGame::CreateResources() {
  CreateEngineResources();
  LoadingSprite->Show();
  iRender();

  SetLevel(0);
  SetScore(0);
  SetLives(3);
  SetShots(0);

  CreateBackgroundSprites();
  SetTexture(*BackA1, BackTextures[1]);
  SetTexture(*BackB1, BackTextures[1]);
  SetTexture(*BackA2, BackTextures[2]);
  SetTexture(*BackB2, BackTextures[2]);

  for (auto& asteroid : Asteroids) {
    asteroid = std::make_unique<TAsteroid>();
    asteroid->Setup();
  }
  CreateInterfaceSprites();
  EscortX = 0;
  EscortY = -10;

  Paddle = std::make_unique<TBita>();
  Paddle->Setup();
  for (auto& ball : Balls) {
    ball = std::make_unique<TBubble>();
    ball->Setup();
  }
  Bonuses.clear();
  for (int kind = 1; kind <= 16; ++kind) {
    for (int copy = 0; copy < 3; ++copy) {
      Bonuses.push_back(std::make_unique<TBonus>());
      Bonuses.back()->Setup(kind);
    }
  }
  Enemies.clear();
  for (int kind = 1; kind <= 3; ++kind) {
    for (int copy = 0; copy < 3; ++copy) {
      Enemies.push_back(std::make_unique<TEnemy>());
      Enemies.back()->Setup(kind, static_cast<int32_t>(Enemies.size() - 1));
    }
  }

  LevelComplete = false;
  ResourcesCreated = true;
}

void TGame::RecreateResources() {
  CreateEngineResources();
  CreateBackgroundSprites();
  CreateInterfaceSprites();
  PlaceBackground();

  for (auto& asteroid : Asteroids)
    asteroid->Rebuild();
  for (auto& block : Blocks)
    block->Rebuild();
  for (auto& ball : Balls)
    ball->Rebuild();
  for (auto& bonus : Bonuses)
    bonus->Rebuild();
  for (auto& enemy : Enemies)
    enemy->Rebuild();
  Paddle->Rebuild();

  PlayMusic("2");
}

// The background as a level begins: the first layer's pictures by the level's background type,
// the second layer the two star fields, the planet at its starting point. After a reopen the
// second layer gets its star fields back too, rather than copies of the first layer's pictures.
void TGame::PlaceBackground() {
  switch (BackgroundType) {
    case 2:
      SetTexture(*BackA1, BackTextures[5]);
      break;
    case 3:
      SetTexture(*BackA1, BackTextures[6]);
      break;
    default:
      SetTexture(*BackA1, BackTextures[1]);
      SetTexture(*BackA2, BackTextures[2]);
      break;
  }
  SetMeshScreenPos(BackA1->Mesh, 400, 300);
  SetMeshScreenPos(BackA2->Mesh, 400, -300);
  SetTexture(*BackB1, BackTextures[3]);
  SetMeshScreenPos(BackB1->Mesh, 400, 300);
  SetTexture(*BackB2, BackTextures[4]);
  SetMeshScreenPos(BackB2->Mesh, 400, -300);
  SetMeshScreenPos(Planet->Mesh, 800, 200);
  SetTexture(*OverlaySprite, InterfaceTexture);
}
