#include "objects/paddle.h"

#include <cmath>

#include "app/input_mouse.h"
#include "app/random.h"
#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "engine/platform.h"
#include "game/game.h"
#include "objects/ball.h"
#include "objects/debris_spin.h"
#include "persist/settings.h"
#include "sprites/particle_effect.h"
#include "sprites/screen_placement.h"

namespace {

constexpr int32_t kPriority = 15;
constexpr int32_t kPiecePriority = 16;
constexpr long double kSpeed = 0.3L;  // playfield units per 13 ms step
constexpr long double kReach = 13;    // the centre stays within -13..13 whatever the size
constexpr long double kBumpDip = 0.1L;
constexpr uint32_t kBumpMs = 30;
constexpr uint32_t kRecoilMs = 60;
constexpr uint32_t kDeathTickMs = 100;
constexpr int32_t kDeathTicksBeforeMissilesGo = 5;
constexpr long double kLaunchLift = 0.3L;
constexpr long double kServeSpeed = 0.2L;
constexpr long double kMissileStart = 2.5L;  // above the paddle's centre

struct SizeLook {
  long double HalfWidth, HalfHeight;
  float BodyW, BodyH;      // pixels
  float GunW, GunH;        // pixels
  long double GunLift;     // the gun sits this far above the centre
  long double SideShot;    // offset of a side shot from the centre
  long double SecondSide;  // offset of the second side shot (size 4 only)
};

// Indexed by size - 1.
constexpr std::array<SizeLook, 4> kSizes = {{
    {2.8L, 0.64L, 140, 65, 91, 34, 1.9L, 1.5L, 0},
    {1.88L, 0.48L, 95, 50, 56, 25, 1.5L, 1.0L, 0},
    {3.68L, 0.56L, 185, 58, 139, 35, 1.9L, 2.0L, 0},
    {4.68L, 0.56L, 235, 57, 188, 42, 1.7L, 3.5L, 2.5L},
}};

const SizeLook& LookOf(uint8_t size) {
  return kSizes[static_cast<size_t>(size - 1)];
}

struct PieceLook {
  float W, H;  // pixels
};
// Indexed by piece number (1-based) modulo 5.
constexpr std::array<PieceLook, 5> kPieces = {{{30, 26}, {35, 31}, {35, 26}, {26, 22}, {31, 33}}};

int32_t RandomSign() {
  return 1 - 2 * Random(2);
}

void SetTexture(const TMeshSprite& sprite, int32_t texture) {
  iMeshTextureReset(sprite.Mesh);
  iMeshTextureSet(sprite.Mesh, texture);
}

}  // namespace

void TBita::Setup() {
  CreateEngineResources();
  for (auto& missile : Missiles) {
    missile = std::make_unique<TBitaMissile>();
    missile->Setup();
  }
  Size = 1;
  Mode = kNormal;
  Body = TMeshSprite::CreateBare(kPriority);
  iMeshTextureSet(Body->Mesh, Game->PaddleTextures[Size][static_cast<size_t>(Mode)]);
  // Made after the body, so it is drawn over it.
  Gun = TMeshSprite::CreateBare(kPriority);
  iMeshTextureSet(Gun->Mesh, Game->PaddleGunTextures[Size]);
  SetSize(Size, Mode);
  Bumped = Firing = Dead = false;
  Mode = -1;
}

void TBita::Rebuild() {
  CreateEngineResources();
  for (auto& missile : Missiles)
    missile->Rebuild();
  Body = TMeshSprite::CreateBare(kPriority);
  SetMeshScreenSize(Body->Mesh, 164, 48);
  iMeshTextureSet(Body->Mesh, Game->PaddleTextures[1][kNormal]);
  Gun = TMeshSprite::CreateBare(kPriority);
  iMeshTextureSet(Gun->Mesh, Game->PaddleGunTextures[Size]);
  // A reopen in the middle of a game keeps the paddle's own size and mode on screen, rather than
  // a normal paddle until the next serve.
  if (Mode >= kNormal && Mode <= kGun) {
    SetBodyTexture(Mode);
    SetSize(Size, Mode);
  }
  Place();
}

void TBita::CreateEngineResources() {
  for (int i = 1; i <= kPieceCount; ++i) {
    TPiece& piece = Pieces[static_cast<size_t>(i - 1)];
    piece.Sprite = TMeshSprite::CreateBare(kPiecePriority);
    const PieceLook& look = kPieces[static_cast<size_t>(i % 5)];
    SetMeshScreenSize(piece.Sprite->Mesh, look.W, look.H);
    iMeshTextureSet(piece.Sprite->Mesh,
                    Game->PaddleExtraTextures[static_cast<size_t>(i % 5 == 0 ? 5 : i % 5)]);
  }
  for (TExplosion& explosion : Explosions) {
    const TParticleEffect red = CreateBurstEffect({1, 0, 0}, 1.0f, {0.3f, 0.3f}, {0.7f, 0.7f});
    const TParticleEffect yellow = CreateBurstEffect({1, 1, 0}, 1.0f, {0.2f, 0.2f}, {0.3f, 0.3f});
    explosion = {red.Particles, red.Emitter, yellow.Particles, yellow.Emitter};
  }
  Sounds[0] = iSoundCreate("sound\\bita_explo.wav", 0);
  for (size_t kind = 1; kind <= 16; ++kind)
    Sounds[kind] = iSoundCreate(kind == 6 ? "sound\\Bonus6.wav" : "sound\\Bonus1.wav", 0);
  Sounds[kShotSound] = iSoundCreate("sound\\Bita_Shot.wav", 0);
  const TParticleEffect exhaust = CreateJetExhaust({1, 1, 0}, {1, 0, 0});
  ExhaustParticles = exhaust.Particles;
  ExhaustEmitter = exhaust.Emitter;
}

void TBita::Place() const {
  SetMeshScreenPos(Body->Mesh, ToScreenX(X), ToScreenYRaised(Y));
  const long double recoil = Firing ? 0.2L : 0;
  SetMeshScreenPos(Gun->Mesh, ToScreenX(X), ToScreenY(Y + LookOf(Size).GunLift - recoil));
}

void TBita::SetSize(uint8_t size, int32_t mode) {
  const SizeLook& look = LookOf(size);
  HalfWidth = look.HalfWidth;
  HalfHeight = look.HalfHeight;
  SetMeshScreenSize(Gun->Mesh, look.GunW, look.GunH);
  if (mode >= kNormal && mode <= kGun)
    SetMeshScreenSize(Body->Mesh, look.BodyW, look.BodyH);
}

void TBita::Bump() {
  if (Bumped)
    return;
  Bumped = true;
  Y -= kBumpDip;
  Place();
  BumpTime = GetTickCount();
}

void TBita::Update() {
  const uint32_t now = GetTickCount();
  if (!Dead) {
    bool anyInPlay = false;
    for (const auto& ball : Game->Balls)
      anyInPlay = anyInPlay || ball->InPlay;
    if (!anyInPlay)
      StartDestruction();
  }
  if (Dead) {
    StepDestruction(now);
    return;
  }

  if (Bumped && now - BumpTime > kBumpMs) {
    Bumped = false;
    Y += kBumpDip;
    Place();
  }
  if (Firing && now - FireTime > kRecoilMs) {
    Firing = false;
    Place();
  }
  for (auto& missile : Missiles)
    if (missile->Active)
      missile->Update();

  Steer();
  Fire(now);

  iParticleEmitterLocationSet(ExhaustEmitter, ParticlePoint(X, Y - 1.2L));
  iParticleEmitterEmit(ExhaustEmitter, 100, 1.0f);
}

void TBita::StartDestruction() {
  Dead = true;
  Gun->Hide();
  Body->Hide();
  iSoundPlayNow(Sounds[0], 0);
  BumpTime = 0;
  for (const TExplosion& explosion : Explosions) {
    const int32_t sx = RandomSign();
    const long double dx = sx * Random(20) / 10.0L;
    const int32_t sy = RandomSign();
    const long double dy = sy * Random(10) / 10.0L;
    const Vec3f at = ParticlePoint(X + dx, Y + dy);
    iParticleEmitterLocationSet(explosion.Emitter1, at);
    iParticleEmitterLocationSet(explosion.Emitter2, at);
  }
  for (int i = 0; i < kPieceCount; ++i) {
    TPiece& piece = Pieces[static_cast<size_t>(i)];
    piece.Alpha = 1.0L;
    piece.Spin = Random(360);
    iMeshEulerOrientationSet(piece.Sprite->Mesh, 0, 0, static_cast<float>(piece.Spin), "xyz");
    piece.X = X;
    piece.Y = Y;
    piece.Distance = 0;
    piece.Active = true;
    piece.Direction = Random(60) / 10.0L;
    piece.Sprite->Show();
    PlacePiece(i);
  }
}

// Odd-numbered pieces (counting from 1) fly twice as far as even ones.
void TBita::PlacePiece(int i) const {
  const TPiece& piece = Pieces[static_cast<size_t>(i)];
  const long double spread = i % 2 == 0 ? 12 : 6;
  const long double reach = piece.Distance * spread;
  SetMeshScreenPos(piece.Sprite->Mesh, ToScreenX(piece.X + std::cos(piece.Direction) * reach),
                   ToScreenYRaised(piece.Y + std::sin(piece.Direction) * reach));
}

void TBita::StepDestruction(uint32_t now) {
  if (now - BumpTime > kDeathTickMs) {
    BumpTime = now;
    if (++DeathTicks > kDeathTicksBeforeMissilesGo) {
      for (auto& missile : Missiles) {
        missile->Active = false;
        missile->Sprite->Hide();
      }
    }
  }
  if (Pieces[0].Distance < 0.3L) {
    for (const TExplosion& explosion : Explosions) {
      iParticleEmitterEmit(explosion.Emitter1, 100, 0.3f);
      iParticleEmitterEmit(explosion.Emitter2, 100, 0.3f);
    }
  }
  for (int i = 0; i < kPieceCount; ++i) {
    TPiece& piece = Pieces[static_cast<size_t>(i)];
    PlacePiece(i);
    SpinAndFade(*piece.Sprite, piece.Spin, piece.Alpha, 0.01L);
    piece.Distance += FrameFactor * 0.013L;
    if (piece.Distance > 1) {
      for (TPiece& p : Pieces) {
        p.Sprite->Hide();
        p.Active = false;
      }
      const int32_t lives = Game->GetLives();
      if (lives > 1) {
        Game->PrepareServe();
        Game->SetLives(lives - 1);
      } else {
        EndGame();
      }
      return;
    }
  }
}

void TBita::EndGame() const {
  Game->PrepareServe();
  GameOverSprite->Show();
  Game->GameEnded = true;
  iSoundPlay(Game->SoundGameOver, 0);
}

// The mouse only chooses a direction and is pulled back to the centre every step. With the system
// cursor a chosen direction holds until a step finds the cursor exactly at the centre.
void TBita::Steer() {
  iMouseButtonClick(0);
  iMouseButtonClick(1);
  const bool systemCursor = Settings.Windowed != 0;
  const int32_t centreX = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int32_t centreY = GetSystemMetrics(SM_CYSCREEN) / 2;
  POINT cursor{};
  long double m = 0;
  if (systemCursor) {
    GetCursorPos(&cursor);
    if (MouseDir == kStill)
      MouseDir = cursor.x == centreX ? kStill : cursor.x < centreX ? kMovingLeft : kMovingRight;
  } else {
    m = static_cast<long double>(iMouseX()) * 32 - 16;
    iMouseY();
    MouseDir = m < 0 ? kMovingLeft : m > 0 ? kMovingRight : kStill;
  }

  const bool leftKey = iKeyDown(Settings.KeyLeft) != 0;
  const bool rightKey = iKeyDown(Settings.KeyRight) != 0;
  const auto move = [this](uint8_t dir, long double dx) {
    MoveDir = dir;
    X += dx;
    Place();
    for (auto& ball : Game->Balls) {
      if (ball->InPlay && !ball->Moving) {
        ball->X += dx;
        ball->Place();
      }
    }
  };
  if ((leftKey || MouseDir == kMovingLeft) && X > -kReach)
    move(kMovingLeft, -kSpeed * FrameFactor);
  if ((rightKey || MouseDir == kMovingRight) && X < kReach)
    move(kMovingRight, kSpeed * FrameFactor);
  if (!leftKey && !rightKey && MouseDir == kStill)
    MoveDir = kStill;

  if (systemCursor) {
    if (cursor.x == centreX)
      MouseDir = kStill;
    SetCursorPos(centreX, centreY);
  } else {
    if (m == 0)
      MouseDir = kStill;
    iMouseReset({0.5f, 0.5f});
  }
}

void TBita::Fire(uint32_t now) {
  if (!iKeyClick(Settings.KeyFire) && MouseButtonClicked != 1)
    return;
  for (auto& ball : Game->Balls) {
    if (!ball->InPlay || ball->Moving)
      continue;
    ball->Moving = true;
    // A caught ball leaves the way it bounced off.
    if (!ball->Caught)
      ball->Angle = 0;
    ball->Y += kLaunchLift;
    ball->Speed = kServeSpeed;
  }
  // Each shot checks again: the one that empties the gun ends the volley.
  const auto canShoot = [this] { return Game->GetShots() > 0 && Mode == kGun; };
  if (canShoot())
    Shoot(ShotKind::Side, now);
  if (Size == 4) {
    if (canShoot())
      Shoot(ShotKind::Centre, now);
    if (canShoot())
      Shoot(ShotKind::SecondSide, now);
  }
}

void TBita::Shoot(ShotKind kind, uint32_t now) {
  iSoundPlay(Sounds[kShotSound], 0);
  if (kind != ShotKind::Centre)
    GunSide = !GunSide;
  Firing = true;
  FireTime = now;
  Place();

  TBitaMissile* missile = nullptr;
  for (auto& m : Missiles) {
    if (!m->Active) {
      missile = m.get();
      break;
    }
  }
  // With all ten in flight the gun still fires but spends nothing.
  if (missile == nullptr)
    return;
  long double offset = 0;
  if (kind == ShotKind::Side)
    offset = LookOf(Size).SideShot;
  if (kind == ShotKind::SecondSide)
    offset = LookOf(Size).SecondSide;
  missile->Active = true;
  missile->Y = Y + kMissileStart;
  missile->X = kind == ShotKind::Centre ? X : GunSide ? X + offset : X - offset;
  missile->Place();
  missile->Sprite->Show();
  Game->SetShots(Game->GetShots() - 1);
  if (Game->GetShots() == 0) {
    Mode = kNormal;
    SetBodyTexture(kNormal);
    Gun->Hide();
  }
}

void TBita::SetBodyTexture(int32_t mode) const {
  SetTexture(*Body, Game->PaddleTextures[Size][static_cast<size_t>(mode)]);
}

void TBita::ChangeSize(uint8_t size) {
  Size = size;
  SetBodyTexture(Mode);
  SetTexture(*Gun, Game->PaddleGunTextures[Size]);
  SetSize(Size, Mode);
}

// Two balls leave from the lowest ball in play, each into the lowest free slot, keeping the
// slot's speed and mode.
void TBita::AddExtraBalls() const {
  for (int n = 0; n < 2; ++n) {
    TBubble* free = nullptr;
    const TBubble* source = nullptr;
    for (auto& ball : Game->Balls) {
      if (!ball->InPlay && free == nullptr)
        free = ball.get();
      if (ball->InPlay && source == nullptr)
        source = ball.get();
    }
    if (free == nullptr)
      return;
    if (source != nullptr) {
      free->X = source->X;
      free->Y = source->Y;
    } else {
      // The last ball was lost in this very step: start from the top of the paddle.
      free->X = X;
      free->Y = Y + HalfHeight + free->Radius;
    }
    free->InPlay = true;
    free->Moving = true;
    free->Angle = Random(30) / 10.0L;
    free->Place();
    free->Sprite->Show();
    free->Glare->Show();
  }
}

void TBita::ApplyBonus(int32_t kind) {
  if (kind < 1 || kind > 16)
    return;
  iSoundPlayNow(Sounds[static_cast<size_t>(kind)], 0);

  const int32_t score = Game->GetScore();
  if (kind == 3 || kind == 7 || kind == 12)
    Game->SetScore(score > 150 ? score - 150 : 0);
  else
    Game->SetScore(score + 50);

  switch (kind) {
    case 1:
      AddExtraBalls();
      break;
    case 2:  // larger: 2 -> 1 -> 3 -> 4
      if (Size == 1)
        ChangeSize(3);
      else if (Size == 2)
        ChangeSize(1);
      else if (Size == 3)
        ChangeSize(4);
      break;
    case 3:  // smaller: 4 -> 3 -> 1 -> 2
      if (Size == 1)
        ChangeSize(2);
      else if (Size == 3)
        ChangeSize(1);
      else if (Size == 4)
        ChangeSize(3);
      break;
    case 4:
    case 5:
      for (auto& ball : Game->Balls) {
        if (kind == 4 && ball->SpeedLevel != 4)
          ++ball->SpeedLevel;
        if (kind == 5 && ball->SpeedLevel != -4)
          --ball->SpeedLevel;
        ball->Speed = 0.2L + 0.025L * ball->SpeedLevel;
      }
      break;
    case 6:
      if (Game->GetLives() < 99)
        Game->SetLives(Game->GetLives() + 1);
      break;
    case 7:
      // With the last life this ends the game even while balls are still flying.
      if (Game->GetLives() < 2)
        EndGame();
      else
        Game->SetLives(Game->GetLives() - 1);
      break;
    case 8:
      Mode = kGun;
      Game->SetShots(Game->GetShots() + 12);
      SetBodyTexture(kGun);
      Gun->Show();
      SetSize(Size, Mode);
      break;
    case 9:
      for (auto& ball : Game->Balls) {
        ball->Mode = TBubble::kArmoured;
        SetTexture(*ball->Sprite, Game->BallTextureArmored);
      }
      break;
    case 10:
      Mode = kSticky;
      SetBodyTexture(kSticky);
      Gun->Hide();
      SetSize(Size, Mode);
      break;
    case 11:
      Game->TimeLeft += 15;
      break;
    case 12:
      Game->TimeLeft -= 15;
      break;
    case 13:
      Game->SetScore(Game->GetScore() + 100);
      break;
    case 14:
      Game->SetScore(Game->GetScore() + 500);
      break;
    case 15:
      Game->EscortActive = true;
      Game->EscortSprite->Show();
      Game->EscortTime = 30;
      // The platform starts under the highest-numbered ball in play.
      for (auto it = Game->Balls.rbegin(); it != Game->Balls.rend(); ++it) {
        if ((*it)->InPlay) {
          Game->EscortX = (*it)->X;
          break;
        }
      }
      break;
    case 16:
      Game->BarrierActive = true;
      Game->BarrierSprite->Show();
      break;
    default:
      break;
  }
}
