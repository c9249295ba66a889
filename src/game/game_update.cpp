// One run step of play: background, effects, the level's phase (intro, level complete, serve,
// play) with its clock, then the enemy and bonus pools.
#include <cmath>
#include <numbers>
#include <string>

#include "app/app_state.h"
#include "app/music.h"
#include "app/random.h"
#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "engine/paths.h"
#include "game/asteroid.h"
#include "game/game.h"
#include "game/level_files.h"
#include "menus/main_menu.h"
#include "menus/record_input_menu.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/bonus.h"
#include "objects/debris_spin.h"
#include "objects/enemy.h"
#include "objects/paddle.h"
#include "persist/records.h"
#include "persist/settings.h"
#include "sprites/particle_effect.h"
#include "sprites/screen_placement.h"

namespace {

constexpr long double kStepSeconds = 0.013L;
// The level clock and the moving blocks run on a slightly faster scale than other timers.
constexpr long double kClockScale = 0.01333L;

long double StepSeconds() {
  return FrameFactor * kStepSeconds;
}

void ScrollLayer(TMeshSprite& layer, long double pixels) {
  float y = layer.ScreenY() + static_cast<float>(pixels);
  if (y > 900)
    y -= 1200;
  SetMeshScreenPos(layer.Mesh, layer.ScreenX(), y);
}

void LaunchSmallAsteroid(TAsteroid& asteroid) {
  const int sign = 1 - 2 * Random(2);
  asteroid.X = sign * Random(18);
  asteroid.Y = 16 * (1 - 2 * Random(2));
  asteroid.Heading = asteroid.Y > 0 ? Random(30) / 10.0L + 1.5L : Random(30) / 10.0L - 1.5L;
  asteroid.Speed = Random(3) / 10.0L + 0.1L;
  asteroid.Active = true;
  const long double g = (Random(5) + 1) / 3.0L;
  SetMeshScreenSize(asteroid.Sprite->Mesh, static_cast<float>(54 * g), static_cast<float>(53 * g));
  Game->AsteroidDelay = Random(1500) / 1000.0L + 1.5L;
  asteroid.Sprite->Show();
}

}  // namespace

void TGame::UpdateBackground() {
  if (BackgroundType == 1) {
    ScrollLayer(*BackA1, FrameFactor);
    ScrollLayer(*BackA2, FrameFactor);
    ScrollLayer(*BackB1, 2 * FrameFactor);
    ScrollLayer(*BackB2, 2 * FrameFactor);
  } else if (BackgroundType == 2) {
    const long double x = PlanetClock * 800 / LevelTimeTotal;
    const long double y = 100 - (400 - x) * (400 - x) / 3000;
    SetMeshScreenPos(Planet->Mesh, static_cast<float>(x), static_cast<float>(y));
  }
  if (BackgroundType == 1) {
    AsteroidDelay -= StepSeconds();
    if (AsteroidDelay < 0)
      for (auto& asteroid : Asteroids)
        if (!asteroid->Active)
          LaunchSmallAsteroid(*asteroid);
  }
  for (auto& asteroid : Asteroids)
    if (asteroid->Active)
      asteroid->Update();
}

void TGame::UpdateEffects() {
  for (auto& piece : Debris) {
    if (!piece.Active)
      continue;
    const long double d = piece.Age * 3;
    SetMeshScreenPos(piece.Sprite->Mesh, ToScreenX(piece.X + std::cos(piece.Angle) * d),
                     ToScreenYRaised(piece.Y + std::sin(piece.Angle) * d));
    SpinAndFade(*piece.Sprite, piece.Spin, piece.Alpha, 0.005L);
    piece.Age += StepSeconds();
    if (piece.Age > 2) {
      piece.Sprite->Hide();
      piece.Active = false;
    }
  }

  for (auto& blast : Blasts) {
    if (!blast.Active)
      continue;
    iParticleEmitterLocationSet(blast.E1, ParticlePoint(blast.X, blast.Y));
    iParticleEmitterEmit(blast.E1, 100.0f, 0.3f);
    const std::array<std::pair<int32_t, long double>, 3> outer = {
        {{blast.E2, blast.Angle1}, {blast.E3, blast.Angle2}, {blast.E4, blast.Angle3}}};
    for (const auto& [emitter, angle] : outer) {
      const long double reach = blast.Age * 50;
      iParticleEmitterLocationSet(emitter, ParticlePoint(blast.X + std::cos(angle) * reach,
                                                         blast.Y + std::sin(angle) * reach));
      iParticleEmitterEmit(emitter, 100.0f, 0.3f);
    }
    blast.Age += StepSeconds();
    if (blast.Age > 0.2L)
      blast.Active = false;
  }

  for (auto& blast : EnemyBlasts) {
    if (!blast.Active)
      continue;
    iParticleEmitterLocationSet(blast.Emitter, ParticlePoint(blast.X, blast.Y));
    iParticleEmitterEmit(blast.Emitter, 100.0f, 0.3f);
    blast.Age += StepSeconds();
    if (blast.Age > 0.5L)
      blast.Active = false;
  }
}

// Travel of a moving block along its path. A leg without a positive travel time never ends: the
// block rests on its waypoint.
void TGame::MoveBlock(TBlockPath& path, TBlock& block) {
  const auto count = static_cast<int32_t>(path.Waypoints.size());
  const TWaypoint& a = path.Waypoints[path.Current];
  const TWaypoint& b = path.Waypoints[(path.Current + 1) % count];
  const long double legSeconds = a.Time / 1000.0L;
  if (legSeconds <= 0) {
    block.X = (a.Column - 1) * 1.6L - 15.2L;
    block.Y = 10.8L - (a.Row - 1) * 1.2L;
    block.Place();
    return;
  }
  path.Timer -= FrameFactor * kClockScale;
  const long double f = (legSeconds - path.Timer) / legSeconds;
  block.X = (a.Column - 1) * 1.6L - 15.2L + (b.Column - a.Column) * 1.6L * f;
  block.Y = 10.8L - (a.Row - 1) * 1.2L - (b.Row - a.Row) * 1.2L * f;
  block.Place();
  if (path.Timer >= 0)
    return;

  LevelGrid[a.Row][a.Column] = 0;
  path.Current = (path.Current + 1) % count;
  const TWaypoint& reached = path.Waypoints[path.Current];
  LevelGrid[reached.Row][reached.Column] = block.Kind;
  block.Column = reached.Column;
  block.Row = reached.Row;
  block.Place();
  path.Timer += reached.Time / 1000.0L;
}

void TGame::UpdateEscort() {
  iParticleEmitterLocationSet(EscortEmitter, ParticlePoint(EscortX, EscortY - 1.2L));
  iParticleEmitterEmit(EscortEmitter, 100.0f, 1.0f);
  for (auto& ball : Balls) {
    if (!ball->InPlay)
      continue;
    if (EscortX < ball->X - 1)
      EscortX += FrameFactor * 0.15L;
    else if (EscortX > ball->X + 1)
      EscortX -= FrameFactor * 0.15L;
    SetMeshScreenPos(EscortSprite->Mesh, ToScreenX(EscortX),
                     static_cast<float>(-(EscortY - 12 - 0.05L) / 24 * 600));
  }
  EscortTime -= StepSeconds();
  if (EscortTime < 0) {
    EscortSprite->Hide();
    EscortActive = false;
  }
}

void TGame::UpdatePlay() {
  for (size_t i = 0; i < BlockPaths.size() && i < Blocks.size(); ++i)
    if (!BlockPaths[i].Waypoints.empty())
      MoveBlock(BlockPaths[i], *Blocks[i]);
  Paddle->Update();
  if (EscortActive)
    UpdateEscort();
  for (auto& ball : Balls)
    ball->Update();

  TimeLeft -= FrameFactor * kClockScale;
  PlanetClock -= FrameFactor * kClockScale;
  if (TimeLeft > 0 && TimeLeft < 10 && !iSoundPlaying(SoundOutOfTime)) {
    iSoundVolumeSet(SoundOutOfTime, EngineVolume(Settings.SoundVolume));
    iSoundPlayNow(SoundOutOfTime, 0);
  }
  if (TimeLeft < 0 && OvertimeMark != ShownSeconds) {
    OvertimeMark = ShownSeconds;
    SetScore(GetScore() - 10);
  }

  for (auto& block : Blocks)
    if (block->Kind <= 9 && block->Active)
      return;
  LevelComplete = true;
  CompleteHold = 2.0;
  CompleteScale = 0;
  CompletePhase = 0;
  CompleteAlpha = 0;
  CompleteGrowing = true;
  iSoundVolumeSet(SoundLevelComplete, EngineVolume(Settings.SoundVolume));
  iSoundPlay(SoundLevelComplete, 0);
}

// The level is over: the next one, or the game is won. A level count that cannot be read counts
// as this being the last level.
void TGame::EndLevel() {
  LevelComplete = false;
  const auto count = ReadLevelCount(ProgramPath("data\\Levels.dat"));
  if (!count || GetLevel() >= *count) {
    CongratsSprite->Show();
    GameEnded = true;
    return;
  }
  HideGameScene();
  LoadingSprite->Show();
  ClearBlocks();
  AppState = StateStartGame;
}

// The game is over and its last picture has stood for 3 s: a score that enters the table gets
// the record-entry form (over the congratulation picture when the game was won), any other the
// main menu.
void TGame::DecideEndOfGame() {
  GameOverSprite->Hide();
  if (const int place = PlaceOfNewResult(GetScore()); place > 0) {
    OpenRecordEntry(place);
  } else {
    CongratsSprite->Hide();
    HideGameScene();
    for (auto& picture : MenuPictures)
      picture->Show();
    ResetGame();
    AppState = StateMainMenu;
    MainMenu->ShowButtons();
    MenuBackgroundOn = true;
    StopMusic();
    PlayMusic("1");
  }
  iSpriteShow(CursorSprite);
  GameEnded = false;
  EndDelay = 3.0;
}

void TGame::Update() {
  if (GameEnded) {
    EndDelay -= StepSeconds();
    if (EndDelay < 0)
      DecideEndOfGame();
    return;
  }
  UpdateBackground();
  UpdateEffects();

  if (IntroShowing) {
    if (IntroHold > 0)
      AnimateIntroMessage();
    else
      IntroShowing = false;
  } else if (LevelComplete) {
    if (TimeLeft > 1) {
      TimeLeft -= 0.25L;
      SetScore(GetScore() + 1);
    }
    if (CompleteHold <= 0) {
      EndLevel();
      return;
    }
    AnimateCompleteMessage();
  } else if (PaddleEntering) {
    Paddle->X -= FrameFactor * 0.2L;
    Paddle->Place();
    Balls[0]->X -= FrameFactor * 0.2L;
    Balls[0]->Place();
    if (Paddle->X < 0)
      PaddleEntering = false;
  } else {
    UpdatePlay();
  }

  for (auto& enemy : Enemies)
    if (enemy->Active)
      enemy->Update();
  for (auto& bonus : Bonuses)
    if (bonus->Active)
      bonus->Update();
}
