// The records panel beside the main menu: the local table of the ten best results, a button that
// asks whether to clear it and one that opens the world table in the browser.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "menus/panel_slide.h"
#include "persist/records.h"
#include "sprites/mesh_button.h"
#include "sprites/mesh_sprite.h"

class TRecordsMenu {
 public:
  void Build();
  // New pictures after the engine was reopened; focus and slide are kept.
  void Rebuild();
  void OpenPanel();
  void ClosePanel();
  void MoveFocus(bool right);
  void AskClear();
  void OpenWorldScores();
  void Leave();
  void Frame();

  // Input in StateRecords.
  void HandleKeys();
  void Hover(int32_t px, int32_t py);
  void Click(int32_t px, int32_t py);

  uint8_t Focus = 1;  // 1 the clear button, 2 the world-scores button
  bool Open = false;
  int32_t Slide = 0;

  std::unique_ptr<TMeshSprite> FrameSprite;
  std::unique_ptr<TMeshSprite> Title;
  std::unique_ptr<TMeshButton> ClearButton;
  std::unique_ptr<TMeshButton> WorldButton;

 private:
  void CreatePictures();

  std::vector<THomedPicture> Pictures;
};

extern std::unique_ptr<TRecordsMenu> RecordsMenu;

// One line of the table: the name right-aligned in 10 characters, two spaces, the score
// right-aligned in 6 digits (wider scores are printed whole).
std::string FormatRecordLine(const TRecord& record);
