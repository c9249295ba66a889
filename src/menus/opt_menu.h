// The options panel beside the main menu. Page 1: window or full screen, music and sound volume.
// Page 2: the three game keys and the boss key with its modifiers, and the default keys. Every
// change is written to the settings file at once; there is no cancel.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "menus/panel_slide.h"
#include "sprites/mesh_button.h"
#include "sprites/mesh_sprite.h"

class TOptMenu {
 public:
  static constexpr uint8_t kTabRow = 50;

  void Build();
  // New pictures after the engine was reopened; page, cursor and slide are kept.
  void Rebuild();
  void OpenPanel();
  // Commits the edit copy first.
  void ClosePanel();
  void ShowPage();
  void MoveRow(bool up);
  void Frame();

  // Edit copy to file to live record; reopens the display when its mode was switched.
  void CommitSettings();
  // Live record to file to edit copy.
  void SaveSettings();
  void ToggleWindowed();
  void ResetKeys();

  // Input in StateOptions, in the three game-key binding states and in StateBindBossKey.
  void HandleKeys();
  void HandleKeyBinding();
  void HandleBossKeyBinding();
  void Hover(int32_t px, int32_t py);
  void Click(int32_t px, int32_t py);

  uint8_t Page = 1;      // 1 or 2
  uint8_t TabFocus = 1;  // the tab marked while the cursor is on the tab row
  uint8_t Row = 1;       // 1..3 on page 1, 1..5 on page 2, or kTabRow
  bool Open = false;
  int32_t Slide = 0;
  // Toggled with the display mode: the engine loop then reopens the display in the new mode.
  bool DisplayChanged = false;
  bool DragMusic = false;
  bool DragSound = false;
  uint32_t MusicStepTime = 0;
  uint32_t SoundStepTime = 0;

  std::unique_ptr<TMeshSprite> FrameSprite;
  std::unique_ptr<TMeshSprite> Page1Face;
  std::unique_ptr<TMeshSprite> Page2Face;
  std::unique_ptr<TMeshSprite> Title;
  std::unique_ptr<TMeshButton> Tab1;
  std::unique_ptr<TMeshButton> Tab2;
  std::unique_ptr<TMeshSprite> Tab1Marker;
  std::unique_ptr<TMeshSprite> Tab2Marker;
  std::unique_ptr<TMeshButton> WindowButton;
  std::unique_ptr<TMeshButton> FullScreenButton;
  std::array<std::unique_ptr<TMeshSprite>, 3> RowLights;
  std::unique_ptr<TMeshSprite> MusicKnob;
  std::unique_ptr<TMeshSprite> MusicKnobLight;
  std::unique_ptr<TMeshSprite> SoundKnob;
  std::unique_ptr<TMeshSprite> SoundKnobLight;
  std::array<std::unique_ptr<TMeshSprite>, 4> KeyRowLights;
  std::unique_ptr<TMeshButton> DefaultsButton;

 private:
  void CreatePictures();
  void Place();
  void PlaceKnobs();
  // The page-1 row lights and knob lights of the cursor's row.
  void LightRows();
  void PrintKeyLines();
  void StepVolume(int32_t& volume, uint32_t& stepTime, int32_t direction, bool music);
  void SetVolumeFromPointer(int32_t& volume, int32_t px, bool music);

  std::vector<THomedPicture> Pictures;  // everything but the knobs
  std::array<THomedPicture, 4> Knobs;   // music knob and light, sound knob and light
};

extern std::unique_ptr<TOptMenu> OptMenu;

// StateOptions and the four binding states: the panel takes the keys and the pointer.
bool IsOptionsState(uint8_t state);

// The printed name of a scan code; empty for a code without one.
std::string KeyName(uint32_t scanCode);
// Whether a scan code may be bound as a game key, and as the boss key.
bool BindableGameKey(int32_t scanCode);
bool BindableBossKey(int32_t scanCode);
