// The help panel beside the main menu: six picture pages turned with two buttons, wrapping
// around at both ends.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "menus/panel_slide.h"
#include "sprites/mesh_button.h"
#include "sprites/mesh_sprite.h"

class THelpMenu {
 public:
  static constexpr int kPages = 6;

  void Build();
  // New pictures after the engine was reopened; page, focus and slide are kept.
  void Rebuild();
  // Always opens on page 1.
  void OpenPanel();
  // The pages go at once; the rest slides out.
  void ClosePanel();
  void TurnPage(bool back);
  // Left or Right: moves the focus towards that side, or turns the page when it is there.
  void Navigate(bool left);
  void Leave();
  void Frame();

  // Input in StateHelp.
  void HandleKeys();
  void Hover(int32_t px, int32_t py);
  void Click(int32_t px, int32_t py);

  uint8_t Focus = 1;   // 1 the previous-page button, 2 the next-page button
  uint8_t PageNo = 1;  // 1..6
  bool Open = false;
  int32_t Slide = 0;

  std::unique_ptr<TMeshSprite> FrameSprite;
  std::unique_ptr<TMeshSprite> Title;
  std::array<std::unique_ptr<TMeshSprite>, kPages> Pages;
  std::unique_ptr<TMeshButton> BackButton;
  std::unique_ptr<TMeshButton> NextButton;

 private:
  void CreatePictures();
  void Place();
  void ShowOnlyPage(int page);

  std::vector<THomedPicture> Fixed;  // frame, title and both buttons
  float PageHomeX = 0, PageHomeY = 0;
};

extern std::unique_ptr<THelpMenu> HelpMenu;
