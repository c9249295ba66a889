// The generator's parts: each makes one group of the game's files.
#pragma once

#include <string>

#include "assetgen/output.h"

namespace qbart {

void MakeMenuArt(Output& out);       // data/Background.dat, data/MainMenu.dat, data/loading.jpg
void MakePanelArt(Output& out);      // data/Forms.dat
void MakeOptionsArt(Output& out);    // data/OptMenu.dat
void MakePlayfieldArt(Output& out);  // blocks, paddle, balls, escort platform, missiles
void MakeCreatureArt(Output& out);   // enemies, asteroids, explosions, bonuses
void MakeBackdropArt(Output& out);   // data/GameBack.dat
void MakeScreenArt(Output& out);     // interface, digits, cursor, pause, game over, congratulations
void MakeHelpPages(Output& out);     // data/Over1.png .. data/Over6.png
void MakeIcons(Output& out);         // icons/hicolor/NxN/apps/quasarball.png, 16 to 512 pixels

// data/particle_clot.dds, data/sprite.x, play.url and the two fonts.
void MakeEngineFiles(Output& out, const std::string& menu_font, const std::string& hud_font);

void MakeSoundEffects(Output& out);
void MakeMusic(Output& out);

// One picture of everything drawn, each with its name, for review.
Canvas ContactSheet(const Output& out);

}  // namespace qbart
