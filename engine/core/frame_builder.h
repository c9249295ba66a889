// Lays the scene out as the ordered draw list a backend draws.
//
// Order, bottom to top: meshes of priority below 17 by priority then creation; particle systems
// in creation order; meshes of priority 17 and up; printed texts in the order printed; engine
// sprites by priority then creation.
#pragma once

#include "core/engine_state.h"
#include "core/frame.h"
#include "core/screen_space.h"

namespace engine {

constexpr int32_t kParticleLayerPriority = 17;

// The backend holds every picture the frame draws by the time it returns.
void BuildFrame(EngineState& state, Frame& frame);

// Where a mesh's model lands on the screen before rotation: its bounding box, scaled and placed.
ScreenRect MeshScreenRect(const MeshObject& mesh);
ScreenRect SpriteScreenRect(const SpriteObject& sprite);

// How light and alpha tint a mesh: each colour component of the light, clamped to 0..1, scales
// the brightness; alpha is clamped to 0..1.
Rgba MeshTint(const EngineState& state, const MeshObject& mesh);

}  // namespace engine
