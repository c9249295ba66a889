// Image packs (".dat"): many pictures in one file. The file starts with a table of 8-byte
// entries, entry N at offset N * 8: the picture's offset and size (unsigned little-endian 32-bit),
// followed by the pictures' bytes. The entry count is not stored; the first picture's offset
// bounds the table.
#pragma once

#include <cstdint>

// Makes a texture of entry `index`, tagged `tag`. 0 when the pack cannot be opened or the entry
// does not lie within the table and the file.
int32_t LoadPackTexture(const char* packFile, uint16_t index, int32_t tag);
