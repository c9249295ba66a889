// Everything that survives between runs, read once at start-up before the window exists.
#pragma once

// Loads (or creates) the settings and the records table, and consumes "data\boss.dat", a
// hand-over file that may preset the application state and whether the menu is on screen.
void LoadSavedFiles();
