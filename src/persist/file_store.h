// Whole-file reads and writes for the saved files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// The file's bytes if it exists and is exactly `size` bytes long; anything else counts as missing.
std::optional<std::vector<uint8_t>> ReadExactFile(const std::filesystem::path& path, size_t size);

// A saved file that is there but cannot be read as one is kept beside it as "<name>.bad"
// (replacing an older one) before the defaults are written over it, so the player's bytes are
// never simply lost; one line on standard error says so. A missing file is left alone.
void KeepUnreadableFile(const std::filesystem::path& path, size_t expectedSize);

// Replaces the file atomically: the bytes go to "<name>.new" beside it, which is flushed to disk,
// renamed over the target, and the folder flushed after it. A crash, a kill or a full disk leaves
// the old file byte for byte. Returns false, with one line on standard error, when the new bytes
// could not be made safe; the game goes on either way.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// A write cut off by a crash may leave its "<name>.new" behind; it is never read, only removed.
void RemoveLeftoverTemporary(const std::filesystem::path& path);
