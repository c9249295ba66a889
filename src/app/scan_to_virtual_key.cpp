#include "app/scan_to_virtual_key.h"

#include <initializer_list>
#include <utility>

TScanToVirtualKey ScanToVirtualKey{};

namespace {

void MapRun(int firstScan, std::initializer_list<int> virtualKeys) {
  int scan = firstScan;
  for (int vk : virtualKeys)
    ScanToVirtualKey[scan++] = static_cast<uint8_t>(vk);
}

}  // namespace

void FillScanToVirtualKey() {
  ScanToVirtualKey.fill(0);
  MapRun(1, {27, 49, 50, 51, 52, 53, 54, 55, 56, 57, 48, 189, 187, 8, 9});    // Escape, digits, Tab
  MapRun(16, {81, 87, 69, 82, 84, 89, 85, 73, 79, 80, 219, 221, 13, 162});    // Q..P, Enter, Ctrl
  MapRun(30, {65, 83, 68, 70, 71, 72, 74, 75, 76, 186, 222, 192, 160, 220});  // A..L, left Shift
  MapRun(44, {90, 88, 67, 86, 66, 78, 77, 188, 190, 191, 161, 106, 164, 32, 20});  // Z..M, Space
  MapRun(59, {112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 144, 145});        // F1..F10, locks
  MapRun(71, {103, 104, 105, 109, 100, 101, 102, 107, 97, 98, 99, 96, 110});       // numeric pad
  for (auto [scan, vk] : std::initializer_list<std::pair<int, int>>{
           {87, 122}, {88, 123},  // F11, F12
           {156, 13}, {181, 111}, {157, 163}, {183, 42}, {184, 165}, {197, 19}, {199, 36},
           {200, 38}, {201, 33},  {203, 37},  {205, 39}, {207, 35},  {208, 40}, {209, 34},
           {210, 45}, {211, 46},  {219, 91},  {220, 92}, {221, 93},  {223, 95}})
    ScanToVirtualKey[scan] = static_cast<uint8_t>(vk);
}
