// The record-entry form: a score that enters the local table gets a name and a country typed over
// the end of the game, then goes into the table and on to the question whether to send it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sprites/mesh_button.h"
#include "sprites/mesh_sprite.h"

class TRecordInputMenu {
 public:
  static constexpr size_t kMaxLetters = 10;

  void Build();
  // New pictures after the engine was reopened; what was typed and the focus are kept.
  void Rebuild();
  void Show();
  void Hide();
  void MoveFocus(bool up);
  void Frame();
  void Accept();
  void Cancel();

  // Input in StateRecordEntry, StateRecordName and StateRecordCountry. (mx, my) are print
  // coordinates, (px, py) screen pixels.
  void HandleKeys();
  void Hover(long double mx, long double my, int32_t px, int32_t py);
  void Click(long double mx, long double my, int32_t px, int32_t py);

  uint8_t Focus = 1;          // 1 the name, 2 the country, 3 the OK button, 4 the Cancel button
  long double LastBlink = 0;  // engine system timer, seconds
  long double BlinkPeriod = 0.5L;  // seconds between caret toggles
  bool CaretOn = true;
  std::string Country;  // at most kMaxLetters
  std::string Name;     // at most kMaxLetters; kept from one game to the next

  std::unique_ptr<TMeshSprite> Form;
  std::unique_ptr<TMeshSprite> NameLight;
  std::unique_ptr<TMeshSprite> CountryLight;
  std::unique_ptr<TMeshButton> OkButton;
  std::unique_ptr<TMeshButton> CancelButton;

 private:
  void CreatePictures();
  void Type(std::string& field);
  void PrintField(const std::string& field, float y, uint8_t focus, uint8_t typingState);
};

extern std::unique_ptr<TRecordInputMenu> RecordInputMenu;

// The place 1..10 in the records table the form's result goes to, set by whoever opens it.
extern int RecordPosition;

// StateRecordEntry, StateRecordName and StateRecordCountry: the form is on screen.
bool IsRecordEntryState(uint8_t state);

// Opens the form for a score that enters the table at `position`, with the country last typed.
void OpenRecordEntry(int position);
