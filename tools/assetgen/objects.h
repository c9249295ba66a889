// Pictures of the things in play, shared by the packs and the help pages. Every picture is drawn
// at the pixel size the game shows it at, its visible body matching the object's collision box
// (25 pixels per playfield unit).
#pragma once

#include "assetgen/canvas.h"

namespace qbart {

// 40 x 30; kinds 1..10.
Canvas Block(int kind);
// 16 x 15 shards of a broken block of the kind.
Canvas BlockDebris(int kind);

// 100 x 100 with the 20-pixel ball in the middle.
Canvas Ball();
Canvas BallGlare();
Canvas BallArmoured();

// Paddle size 1..4 (small to large: 2, 1, 3, 4) and mode 1 normal, 2 sticky, 3 gun.
Canvas PaddleBody(int size, int mode);
Canvas PaddleGun(int size);
// Wreckage pieces 1..5.
Canvas PaddlePiece(int piece);
// 18 x 49; frame 1 or 2.
Canvas Missile(int frame);
// 129 x 33, the escort platform.
Canvas EscortPlatform();

// 63 x 49; kinds 1..16, frames 1..8.
Canvas Bonus(int kind, int frame);
// Kinds 1..3, frames 1..5.
Canvas Enemy(int kind, int frame);
// 90 x 88; frames 1..12, one turn of the rock.
Canvas AsteroidFrame(int frame);
// 64 x 64; frames 1..16.
Canvas ExplosionFrame(int frame);

// Whether a bonus kind works against the player.
bool BonusHurts(int kind);

}  // namespace qbart
