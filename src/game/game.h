// The one game object: everything that exists while a game is played — the counters, the paddle
// and the balls, the blocks and the level grid, the bonus and enemy pools, the effect pools, the
// scrolling background, the interface sprites, the level flow and every texture and sound of play.
//
// Conventions: pools are 0-based (Balls[0] is ball 1, the served one); texture tables indexed by a
// kind, size or frame number keep those numbers (BlockTextures[kind], kind 1..10, index 0 unused);
// the level grid is indexed [row 1..20][column 1..20]. Positions are playfield units (x -16..16,
// y -12..12, 25 pixels per unit), times are seconds unless a name says otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "sprites/mesh_sprite.h"

class TBita;
class TBubble;
class TBlock;
class TBonus;
class TEnemy;
class TAsteroid;

// A piece of a broken block flying outward while it fades and turns.
struct TDebris {
  std::unique_ptr<TMeshSprite> Sprite;
  long double X = 0, Y = 0;  // where the piece started
  long double Angle = 0;     // direction of flight, radians (x = cos, y = sin)
  long double Alpha = 0;
  long double Age = 0;
  bool Active = false;
  long double Spin = 0;  // degrees
};

// The particle burst of a broken block: a centre emitter and three that fly outward.
struct TBlast {
  int32_t P1 = 0, E1 = 0, P2 = 0, E2 = 0;
  long double Angle1 = 0;
  int32_t P3 = 0, E3 = 0;
  long double Angle2 = 0;
  int32_t P4 = 0, E4 = 0;
  long double Angle3 = 0;
  long double X = 0, Y = 0;
  bool Active = false;
  long double Age = 0;
};

struct TEnemyBlast {
  int32_t Particles = 0, Emitter = 0;
  long double X = 0, Y = 0;
  bool Active = false;
  long double Age = 0;
};

struct TWaypoint {
  int32_t Column = 0;  // 1..20
  int32_t Row = 0;     // 1..20
  int32_t Time = 0;    // milliseconds to the next waypoint
};

// The path of one moving block; path i drives block i.
struct TBlockPath {
  std::vector<TWaypoint> Waypoints;
  long double Timer = 0;  // seconds left on the current leg
  int32_t Current = 0;    // index of the waypoint last reached
};

constexpr int kGridSize = 20;
constexpr int kBallCount = 20;
constexpr int kDebrisCount = 200;
constexpr int kBlastCount = 20;
constexpr int kEnemyBlastCount = 9;
constexpr int kAsteroidCount = 10;
constexpr int kBonusCount = 48;
constexpr int kEnemyCount = 9;

class TGame {
 public:
  TGame();
  ~TGame();
  TGame(const TGame&) = delete;
  TGame& operator=(const TGame&) = delete;

  // The counters go through these; a negative score is refused.
  int32_t GetScore() const;
  int32_t GetLevel() const;
  int32_t GetLives() const;
  int32_t GetShots() const;
  void SetScore(int32_t value);
  void SetLevel(int32_t value);
  void SetLives(int32_t value);
  void SetShots(int32_t value);

  // First creation of every engine resource and game object (on the first game start).
  void CreateResources();
  // After the engine was reopened: new engine resources, the game's state kept.
  void RecreateResources();
  // Back to no game: blocks freed, score 0, lives 3, level 0.
  void ResetGame();
  // Frees every block, no shots left, music stopped.
  void ClearBlocks();
  // Builds the next level and puts the paddle and ball 1 in the serving position.
  void StartNextLevel();
  // Reads the level's moving blocks and grid and creates its blocks.
  void BuildBlocks();
  // The paddle enters from the right with ball 1 resting on it.
  void PrepareServe();
  // One run step of play.
  void Update();

  // Counters, each stored as value ^ kCounterMask.
  int32_t Score;
  int32_t Level;
  int32_t Lives;
  int32_t Shots;

  std::unique_ptr<TBita> Paddle;
  std::array<std::unique_ptr<TBubble>, kBallCount> Balls;
  std::unique_ptr<TMeshSprite> BackA1, BackA2, BackB1, BackB2;  // two scrolling layers
  std::unique_ptr<TMeshSprite> Planet;
  std::array<TDebris, kDebrisCount> Debris;
  std::array<TBlast, kBlastCount> Blasts;
  std::vector<TBlockPath> BlockPaths;
  std::array<int32_t, 11> BlockTextures{};                 // [kind 1..10]
  std::array<int32_t, 11> DebrisTextures{};                // [kind 1..10]
  std::array<int32_t, 17> ExplosionTextures{};             // [1..16]
  std::array<int32_t, 13> AsteroidTextures{};              // [frame 1..12]
  std::array<std::array<int32_t, 8>, 16> BonusTextures{};  // [kind - 1][frame - 1]
  std::array<int32_t, 8> BackTextures{};                   // [1..7]
  std::array<std::unique_ptr<TAsteroid>, kAsteroidCount> Asteroids;
  long double AsteroidDelay = 0;                // until the next small asteroids may be launched
  std::vector<std::unique_ptr<TBlock>> Blocks;  // moving blocks first, then the grid's
  std::array<std::array<int32_t, 5>, 3> EnemyTextures{};   // [kind - 1][frame - 1]
  std::array<std::array<int32_t, 4>, 5> PaddleTextures{};  // [size 1..4][mode 1..3]
  std::array<int32_t, 5> PaddleGunTextures{};              // [size 1..4]
  std::array<int32_t, 6> PaddleExtraTextures{};            // [1..5]
  std::array<int32_t, 3> MissileTextures{};                // [1..2]
  // The occupancy map during play: 0 free, else the kind of the block in the cell.
  std::array<std::array<int32_t, kGridSize + 1>, kGridSize + 1> LevelGrid{};
  std::unique_ptr<TMeshSprite> BarrierSprite;
  bool BarrierActive = false;
  std::unique_ptr<TMeshSprite> EscortSprite;
  long double EscortX = 0, EscortY = -10;
  bool EscortActive = false;
  int32_t BallTextureGlare = 0, BallTexture = 0, BallTextureArmored = 0;
  long double CompleteScale = 0, CompleteAlpha = 0;
  bool CompleteGrowing = false;
  long double CompletePhase = 0;
  long double IntroPhase = 0, IntroScale = 0, IntroAlpha = 0;
  bool IntroGrowing = false;
  std::unique_ptr<TMeshSprite> PauseSprite;
  std::unique_ptr<TMeshSprite> OverlaySprite;
  int32_t InterfaceTexture = 0;
  uint8_t BackgroundType = 1;  // 1 scrolling stars, 2 planet, 3 large asteroids
  bool ResourcesCreated = false;
  std::vector<std::unique_ptr<TBonus>> Bonuses;  // 48: three of each kind 1..16
  std::vector<std::unique_ptr<TEnemy>> Enemies;  // 9: three of each kind 1..3
  std::array<TEnemyBlast, kEnemyBlastCount> EnemyBlasts;
  bool LevelComplete = false;
  bool IntroShowing = false;
  bool GameEnded = false;
  long double EndDelay = 3.0;  // before the end-of-game decision
  long double TimeLeft = 0;    // negative in overtime
  long double PlanetClock = 0;
  long double CompleteHold = 0;
  long double IntroHold = 0;
  long double LevelTimeTotal = 0;
  bool PaddleEntering = false;
  int32_t SoundLevelComplete = 0, SoundGameOver = 0, SoundOutOfTime = 0;
  int32_t EscortParticles = 0, EscortEmitter = 0;
  long double EscortTime = 0;

 private:
  void CreateEngineResources();
  void CreateBackgroundSprites();
  void CreateInterfaceSprites();
  void PlaceBackground();
  void UpdateBackground();
  void UpdateEffects();
  void MoveBlock(TBlockPath& path, TBlock& block);
  void UpdateEscort();
  void UpdatePlay();
  void EndLevel();
  void DecideEndOfGame();
  void AnimateIntroMessage();
  void AnimateCompleteMessage();
  // Appends a block of `kind` at the centre of the cell and tells it its index.
  TBlock& AddBlock(int32_t kind, int32_t column, int32_t row);
};

extern std::unique_ptr<TGame> Game;

// The seconds figure at which the last overtime penalty was charged.
extern int32_t OvertimeMark;

// Show every game sprite in use / hide every game sprite.
void ShowGameScene();
void HideGameScene();

// Playfield to screen pixels.
inline float ToScreenX(long double x) {
  return static_cast<float>((x + 16) / 32 * 800);
}
inline float ToScreenY(long double y) {
  return static_cast<float>(-(y - 12) / 24 * 600);
}
// The paddle, its debris, the effects and the background sit 10 pixels higher.
inline float ToScreenYRaised(long double y) {
  return static_cast<float>(-(y - 12 + 0.4) / 24 * 600);
}
