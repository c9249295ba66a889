// The main menu: the column of picture buttons over the animated menu background whenever no game
// is in play. Items: 1 start a game, 2 options, 3 records table, 4 help, 5 home page, 6 exit,
// 7 recommend by e-mail, 8 subscribe page.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "sprites/mesh_button.h"

class TMainMenu {
 public:
  static constexpr int kItems = 8;

  // Makes the buttons; Current back to 1.
  void Build();
  // Makes the buttons again after the engine was reopened, keeping Current.
  void Rebuild();
  void HideButtons();
  // Also starts the menu music when no music plays.
  void ShowButtons();
  // Moves Current by the keyboard rule and plays the move sound (even when nothing moved).
  void Navigate(bool upOrRight);
  // Per-frame glow update.
  void Frame();

  // The keyboard in StateMainMenu.
  void HandleKeys();
  // The pointer moved to screen pixel (px, py): the last item hit becomes current.
  void Hover(int32_t px, int32_t py);
  // A left click at (px, py): runs the current item when it is hit. True when an item ran.
  bool Click(int32_t px, int32_t py);

  void RunItem(int item);
  void StartGame();
  void ToggleOptions();
  void ToggleRecords();
  void ToggleHelp();
  void OpenWebPage();
  void AskExit();
  void MailFriend();
  void OpenSubscribe();

  // Item 1..8.
  TMeshButton& Button(int item) { return *Buttons[item - 1]; }

  uint8_t Current = 1;
  std::array<std::unique_ptr<TMeshButton>, kItems> Buttons;

 private:
  void CreateButtons();
  void Redisplay();
};

extern std::unique_ptr<TMainMenu> MainMenu;

// Hands the screen to the shell for a web or mail link: a window is minimised; in full screen
// the engine is closed until the player comes back. Then the open panels are closed.
void LeaveWindowForShell(const char* target);
// Closes whichever of the options (committing it), help and records panels is open.
void ClosePanelsBesideMenu();
