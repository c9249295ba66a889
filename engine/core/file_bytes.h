// Whole-file reads for the engine's loaders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace engine {

using Bytes = std::vector<uint8_t>;

// The file's contents; nothing when it is missing, unreadable, not a regular file or larger than
// maxBytes.
std::optional<Bytes> ReadFileBytes(const std::filesystem::path& path, size_t maxBytes);

}  // namespace engine
