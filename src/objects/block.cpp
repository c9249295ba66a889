#include "objects/block.h"

#include <array>

#include "app/random.h"
#include "engine/engine.h"
#include "game/game.h"
#include "objects/bonus.h"
#include "objects/enemy.h"
#include "sprites/screen_placement.h"

namespace {

constexpr int32_t kPriority = 13;
constexpr int32_t kClampTextureMode = 4;
constexpr int32_t kTallKinds = 20;  // kinds from here on are the tall 50 x 100 pictures
constexpr int32_t kReleasedMark = 7;
constexpr int32_t kSpares = 8;

// The game's texture rows in the order the block and debris pictures run through them.
constexpr int32_t kRowCount = 6;
constexpr std::array<int32_t, kRowCount> kRowLengths = {10, 10, 16, 12, 16 * 8, 7};

int32_t RowEntry(int32_t row, int32_t k) {
  const TGame& g = *Game;
  const auto at = [](const auto& table, int32_t i) { return table[static_cast<size_t>(i)]; };
  switch (row) {
    case 0:
      return at(g.BlockTextures, k + 1);
    case 1:
      return at(g.DebrisTextures, k + 1);
    case 2:
      return at(g.ExplosionTextures, k + 1);
    case 3:
      return at(g.AsteroidTextures, k + 1);
    case 4:
      return at(at(g.BonusTextures, k / 8), k % 8);
    default:
      return at(g.BackTextures, k + 1);
  }
}

// Entry `entry` (1-based) counted from the start of row `firstRow`, running on into the rows
// after it.
int32_t ContinuedTexture(int32_t firstRow, int32_t entry) {
  if (entry < 1)
    return 0;
  int32_t k = entry - 1;
  for (int32_t row = firstRow; row < kRowCount; ++row) {
    if (k < kRowLengths[static_cast<size_t>(row)])
      return RowEntry(row, k);
    k -= kRowLengths[static_cast<size_t>(row)];
  }
  return 0;
}

struct Rgb {
  float R, G, B;  // 0..255
};

struct BlastColours {
  Rgb Centre;  // the centre burst
  Rgb Outer;   // the three outward bursts
};

BlastColours BlastColoursOf(int32_t kind) {
  switch (kind) {
    case 1:
      return {{97, 97, 97}, {255, 255, 255}};
    case 2:
      return {{155, 155, 155}, {255, 255, 255}};
    case 3:
      return {{164, 164, 164}, {190, 209, 183}};
    case 4:
      return {{155, 155, 155}, {43, 61, 114}};
    case 5:
      return {{4, 74, 144}, {255, 255, 255}};
    case 6:
      return {{94, 233, 218}, {155, 155, 155}};
    default:
      return {{240, 100, 0}, {0, 0, 0}};
  }
}

void SetParticleColour(int32_t particles, const Rgb& c) {
  const Vec3f colour{c.R / 255, c.G / 255, c.B / 255};
  iParticleColorSet(particles, colour, colour);
}

// Where a stack puts its spares, in this order: the cell offset and the centre offset.
struct SpareCell {
  int32_t DRow, DColumn;
  long double DX, DY;
};
constexpr std::array<SpareCell, kSpares> kSpareCells = {{
    {1, -1, -1.6L, -1.2L},
    {1, 0, 0, -1.2L},
    {1, 1, 1.6L, -1.2L},
    {0, 1, 1.6L, 0},
    {-1, 1, 1.6L, 1.2L},
    {-1, 0, 0, 1.2L},
    {-1, -1, -1.6L, 1.2L},
    {0, -1, -1.6L, 0},
}};

bool InsideGrid(int32_t row, int32_t column) {
  return row >= 1 && row <= kGridSize && column >= 1 && column <= kGridSize;
}

void AddScore(int32_t points) {
  Game->SetScore(Game->GetScore() + points);
}

}  // namespace

int32_t BlockTexture(int32_t kind) {
  return ContinuedTexture(0, kind);
}
int32_t DebrisTexture(int32_t kind) {
  return ContinuedTexture(1, kind);
}

void TBlock::Setup(int32_t kind) {
  Kind = static_cast<uint8_t>(kind);
  Sprite = TMeshSprite::CreateBare(kPriority);
  const bool tall = Kind >= kTallKinds;
  SetMeshScreenSize(Sprite->Mesh, tall ? 50 : 40, tall ? 100 : 30);
  HalfHeight = tall ? 1.6L : 0.8L;
  HalfWidth = tall ? 0.8L : 0.6L;
  iMeshTextureModeSet(Sprite->Mesh, kClampTextureMode);
  iMeshTextureSet(Sprite->Mesh, BlockTexture(Kind));
  Active = true;
}

void TBlock::Rebuild() {
  Sprite = TMeshSprite::CreateBare(kPriority);
  const bool tall = Kind >= kTallKinds;
  SetMeshScreenSize(Sprite->Mesh, tall ? 50 : 40, tall ? 100 : 30);
  iMeshTextureModeSet(Sprite->Mesh, kClampTextureMode);
  iMeshTextureSet(Sprite->Mesh, BlockTexture(Kind));
  Place();
}

void TBlock::Place() const {
  SetMeshScreenPos(Sprite->Mesh, ToScreenX(X), ToScreenY(Y));
}

void TBlock::SetPicture() const {
  iMeshTextureReset(Sprite->Mesh);
  iMeshTextureSet(Sprite->Mesh, BlockTexture(Kind));
}

void TBlock::Hit() {
  ScatterDebris();
  if ((Kind >= 1 && Kind <= 6) || Kind == 10)
    SetOffBlast();

  if (Kind >= 1 && Kind <= 3) {
    Active = false;
    AddScore(20 * Kind);
    Sprite->Hide();
    if (InsideGrid(Row, Column))
      Game->LevelGrid[Row][Column] = 0;
    Drop();
  } else if (Kind >= 4 && Kind <= 9) {
    const bool stack = Kind >= 7;
    Kind -= 3;
    AddScore(20 * Kind);
    SetPicture();
    if (stack)
      ReleaseSpares();
  } else if (Kind == 10) {
    Active = false;
    AddScore(300);
    Sprite->Hide();
    if (InsideGrid(Row, Column))
      Game->LevelGrid[Row][Column] = 0;
  }
}

void TBlock::ScatterDebris() const {
  const int32_t pieces = Random(3) + 3;
  for (int32_t n = 0; n < pieces; ++n) {
    TDebris* piece = nullptr;
    for (auto& d : Game->Debris) {
      if (!d.Active) {
        piece = &d;
        break;
      }
    }
    if (piece == nullptr)
      continue;
    iMeshTextureReset(piece->Sprite->Mesh);
    iMeshTextureSet(piece->Sprite->Mesh, DebrisTexture(Kind));
    piece->Alpha = 1.0L;
    piece->Spin = Random(360);
    iMeshEulerOrientationSet(piece->Sprite->Mesh, 0, 0, static_cast<float>(piece->Spin), "xyz");
    piece->X = X;
    piece->Y = Y;
    piece->Age = 0;
    piece->Active = true;
    piece->Angle = Random(60) / 10.0L;
    piece->Sprite->Show();
    SetMeshScreenPos(piece->Sprite->Mesh, ToScreenX(X), ToScreenYRaised(Y));
  }
}

void TBlock::SetOffBlast() const {
  for (auto& blast : Game->Blasts) {
    if (blast.Active)
      continue;
    blast.X = X;
    blast.Y = Y;
    blast.Age = 0;
    blast.Active = true;
    blast.Angle1 = Random(60) / 10.0L;
    blast.Angle2 = blast.Angle1 + 1.2L + Random(10) / 10.0L;
    blast.Angle3 = blast.Angle2 + 1.2L + Random(10) / 10.0L;
    const BlastColours colours = BlastColoursOf(Kind);
    SetParticleColour(blast.P1, colours.Centre);
    SetParticleColour(blast.P2, colours.Outer);
    SetParticleColour(blast.P3, colours.Outer);
    SetParticleColour(blast.P4, colours.Outer);
    return;
  }
}

// One in six blocks drops a bonus (kind 1 twice as likely as the others); only when that roll
// fails, one in ten of the rest releases an enemy. A drawn kind with no free pool entry drops
// nothing.
void TBlock::Drop() const {
  if (Random(6) == 3) {
    const int32_t b = Random(17);
    const int32_t kind = b < 16 ? b + 1 : 1;
    for (auto& bonus : Game->Bonuses) {
      if (!bonus->Active && bonus->Kind == kind) {
        bonus->Release(X, Y);
        return;
      }
    }
    return;
  }
  if (Random(10) == 1) {
    const int32_t kind = Random(3) + 1;
    for (auto& enemy : Game->Enemies) {
      if (!enemy->Active && enemy->Kind == kind) {
        enemy->Release(X, Y);
        return;
      }
    }
  }
}

// The spares go to the free cells only, in the table's order; an occupied cell (or one outside
// the grid) uses none.
void TBlock::ReleaseSpares() const {
  size_t next = static_cast<size_t>(Index) + 1;
  for (const SpareCell& cell : kSpareCells) {
    const int32_t row = Row + cell.DRow, column = Column + cell.DColumn;
    if (!InsideGrid(row, column) || Game->LevelGrid[row][column] != 0)
      continue;
    if (next >= Game->Blocks.size())
      return;
    TBlock& spare = *Game->Blocks[next++];
    spare.Column = column;
    spare.Row = row;
    spare.X = X + cell.DX;
    spare.Y = Y + cell.DY;
    spare.Place();
    spare.Sprite->Show();
    spare.Active = true;
    Game->LevelGrid[row][column] = kReleasedMark;
  }
}
