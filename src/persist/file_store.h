// Whole-file reads and writes for the saved files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// The file's bytes if it exists and is exactly `size` bytes long; anything else counts as missing.
std::optional<std::vector<uint8_t>> ReadExactFile(const std::filesystem::path& path, size_t size);

// Replaces the file atomically: the bytes go to a temporary file beside it, which is flushed to
// disk and then renamed over the target. A crash or a full disk leaves the old file intact.
// Returns false when the file could not be written.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes);
