#include "assetgen/art.h"
namespace qbart {
void MakeSoundEffects(Output&) {}
void MakeMusic(Output&) {}
}  // namespace qbart
