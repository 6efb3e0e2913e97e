// Whole files read and written in one call, byte for byte.
#pragma once

#include <filesystem>
#include <string>

namespace orrimar::testing {

// A file's bytes; empty when it cannot be read.
std::string fileBytes(const std::filesystem::path& path);

// Replaces the file with exactly these bytes.
void writeFileBytes(const std::filesystem::path& path, const std::string& bytes);

// A file's size in bytes, -1 when there is none.
long long fileSize(const std::filesystem::path& path);

}  // namespace orrimar::testing
