#include "assetgen/art.h"
namespace qbart {
void MakeMenuArt(Output&) {}
void MakePanelArt(Output&) {}
void MakeOptionsArt(Output&) {}
void MakeBackdropArt(Output&) {}
void MakeScreenArt(Output&) {}
void MakeHelpPages(Output&) {}
void MakeSoundEffects(Output&) {}
void MakeMusic(Output&) {}
}  // namespace qbart
