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

// Replaces the file atomically: the bytes go to a temporary file beside it, which is flushed to
// disk and then renamed over the target. A crash or a full disk leaves the old file intact.
// Returns false when the file could not be written.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes);
