#include "core/virtual_keys.h"

#include <array>
#include <utility>

namespace engine {
namespace {

constexpr std::array<uint8_t, 256> BuildTable() {
  std::array<uint8_t, 256> table{};
  constexpr std::pair<int, const char*> kLetterRows[] = {
      {16, "QWERTYUIOP"}, {30, "ASDFGHJKL"}, {44, "ZXCVBNM"}};
  for (const auto& [first, letters] : kLetterRows) {
    for (int i = 0; letters[i] != '\0'; ++i) {
      table[first + i] = static_cast<uint8_t>(letters[i]);
    }
  }
  for (int i = 0; i < 9; ++i) {
    table[2 + i] = static_cast<uint8_t>('1' + i);  // digits 1..9
  }
  for (int i = 0; i < 10; ++i) {
    table[59 + i] = static_cast<uint8_t>(0x70 + i);  // F1..F10
  }
  constexpr std::pair<int, int> kOthers[] = {
      {1, 0x1B},   {11, '0'},   {12, 0xBD},  {13, 0xBB},  {14, 0x08},  {15, 0x09},  {26, 0xDB},
      {27, 0xDD},  {28, 0x0D},  {29, 0xA2},  {39, 0xBA},  {40, 0xDE},  {41, 0xC0},  {42, 0xA0},
      {43, 0xDC},  {51, 0xBC},  {52, 0xBE},  {53, 0xBF},  {54, 0xA1},  {55, 0x6A},  {56, 0xA4},
      {57, 0x20},  {58, 0x14},  {69, 0x90},  {70, 0x91},  {71, 0x67},  {72, 0x68},  {73, 0x69},
      {74, 0x6D},  {75, 0x64},  {76, 0x65},  {77, 0x66},  {78, 0x6B},  {79, 0x61},  {80, 0x62},
      {81, 0x63},  {82, 0x60},  {83, 0x6E},  {87, 0x7A},  {88, 0x7B},  {156, 0x0D}, {157, 0xA3},
      {181, 0x6F}, {183, 0x2A}, {184, 0xA5}, {197, 0x13}, {199, 0x24}, {200, 0x26}, {201, 0x21},
      {203, 0x25}, {205, 0x27}, {207, 0x23}, {208, 0x28}, {209, 0x22}, {210, 0x2D}, {211, 0x2E},
      {219, 0x5B}, {220, 0x5C}, {221, 0x5D}, {223, 0x5F}};
  for (const auto& [scan, key] : kOthers) {
    table[scan] = static_cast<uint8_t>(key);
  }
  return table;
}

constexpr std::array<uint8_t, 256> kTable = BuildTable();

}  // namespace

uint8_t VirtualKeyOfScanCode(int scanCode) {
  return scanCode > 0 && scanCode < 256 ? kTable[scanCode] : 0;
}

}  // namespace engine
