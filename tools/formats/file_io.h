// Whole-file reads and writes for the command-line tools.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace qbtools {

// Throws std::runtime_error naming the file when it cannot be read or written.
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace qbtools
