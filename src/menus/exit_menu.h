// The one yes/no dialog: leaving the program, clearing the records table, leaving a running game,
// sending a result and retrying a failed upload; also the "Please wait..." notice of an upload.
// The state alone decides which question is on screen and what the buttons do.
#pragma once

#include <cstdint>
#include <memory>

#include "sprites/mesh_button.h"
#include "sprites/mesh_sprite.h"

class TExitMenu {
 public:
  void Build();
  // New pictures after the engine was reopened; Focus is kept.
  void Rebuild();
  void ShowDialog();
  void HideDialog();
  void ToggleFocus();
  void Frame();

  // The keyboard in the dialog states.
  void HandleKeys();
  void Hover(int32_t px, int32_t py);
  void Click(int32_t px, int32_t py);

  void Yes();
  void No();

  uint8_t Focus = 1;  // 1 the Yes button (left), 2 the No button (right)
  std::unique_ptr<TMeshSprite> DialogFrame;
  std::unique_ptr<TMeshButton> YesButton;
  std::unique_ptr<TMeshButton> NoButton;

 private:
  void CreatePictures();
  void ReturnToMenu();
  void ResumeGame();
  void EndGame();
  void ClearRecords();
  void StartUpload();
  void DeclineUpload();
  void KeepRecords();
};

extern std::unique_ptr<TExitMenu> ExitMenu;

// The question of the current dialog state, printed over the dialog.
void PrintDialogText();

// Applies a finished upload's outcome; called before each run step.
void FinishUpload();

// The states in which the dialog is on screen.
bool IsDialogState(uint8_t state);
