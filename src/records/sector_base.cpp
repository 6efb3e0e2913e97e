#include "records/sector_base.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "records/sector_files.h"

namespace orrimar {

namespace {

namespace fs = std::filesystem;

bool endsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    const std::string_view end = text.substr(text.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(end[i])) != std::tolower(static_cast<unsigned char>(tail[i])))
            return false;
    }
    return true;
}

bool isFolderSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string sectorBaseName(std::string_view given) {
    for (std::string_view ext : kSectorMemberExtensions) {
        if (!endsWithNoCase(given, ext)) continue;
        const std::size_t cut = given.size() - ext.size();
        // ".sun" alone, or "data/.sun", has no name before the extension.
        if (cut == 0 || isFolderSeparator(given[cut - 1])) break;
        return std::string(given.substr(0, cut));
    }
    return std::string(given);
}

std::string folderOf(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && !isFolderSeparator(path[end - 1])) --end;
    if (end == 0) return {};
    // "data/alpha" -> "data"; "/alpha" -> "/".
    std::size_t keep = end;
    while (keep > 1 && isFolderSeparator(path[keep - 1])) --keep;
    return path.substr(0, keep);
}

void requireFolderFor(const std::string& path) {
    const std::string folder = folderOf(path);
    if (folder.empty()) return;
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status)) throw MissingError(fmt::format("Folder {} does not exist", folder));
    if (!fs::is_directory(status)) throw MissingError(fmt::format("{} is not a folder", folder));
}

std::string missingSectorMessage(const std::string& baseName) {
    const std::string systems = sectorPath(baseName, ".sun");
    std::error_code ec;
    if (fs::exists(systems, ec)) return {};
    try {
        requireFolderFor(baseName);
    } catch (const MissingError& e) {
        return e.what();
    }
    return fmt::format("No sector at {} ({} not found)", baseName, systems);
}

void requireSector(const std::string& baseName) {
    const std::string message = missingSectorMessage(baseName);
    if (!message.empty()) throw MissingError(message);
}

std::string newBaseNameProblem(const std::string& baseName) {
    if (baseName.empty()) return "The sector's base name is empty: give one such as data/alpha";
    const std::size_t cut = baseName.find_last_of("/\\");
    const std::string name = cut == std::string::npos ? baseName : baseName.substr(cut + 1);
    if (name.empty() || name == "." || name == "..") {
        return fmt::format("{} is a folder, not a sector's base name: give one such as {}alpha", baseName,
                           name.empty() ? baseName : baseName + "/");
    }
    // Every member written is the name plus a four-character extension.
    const std::size_t longest = name.size() + std::string_view(".sun").size();
    if (longest > kMaxFileNameBytes) {
        return fmt::format(
            "The sector's name is too long: its files would be named with {} bytes ({}.sun), "
            "and a file name may have at most {}",
            longest, name.size() > 20 ? name.substr(0, 20) + "..." : name, kMaxFileNameBytes);
    }
    return {};
}

std::string sectorNameInAnsi(std::string_view utf8) {
    const AnsiConversion converted = convertUtf8ToAnsi(utf8);
    if (!converted.text) {
        throw InputError(fmt::format("The sector name cannot be stored: {}", converted.problem));
    }
    if (converted.text->size() > kMaxSectorNameLength) {
        throw InputError(fmt::format("The sector name is {} characters long; at most {} fit in its record",
                                     converted.text->size(), kMaxSectorNameLength));
    }
    return *converted.text;
}

void requireRecordId(std::int64_t id, std::int64_t count, const std::string& baseName, std::string_view what,
                     std::string_view plural) {
    if (id >= 0 && id < count) return;
    // One of them: "colonies" -> "colony", "systems" -> "system".
    std::string one(plural);
    if (one.ends_with("ies")) {
        one.replace(one.size() - 3, 3, "y");
    } else if (one.ends_with('s')) {
        one.pop_back();
    }
    throw InputError(fmt::format("{} {} is not in {} ({} {})", what, id, baseName, groupedCount(count),
                                 count == 1 ? std::string_view(one) : plural));
}

std::string groupedCount(std::int64_t value) {
    // The magnitude as unsigned: negating the smallest int64 overflows.
    const auto magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    const std::string digits = std::to_string(magnitude);
    std::string out = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        // A comma before every group of three counted from the right.
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace orrimar

namespace orrimar {

SectorExistsError::SectorExistsError(const std::string& baseName, std::int64_t systems)
    : InputError(fmt::format("A sector is already at {} ({} systems); it is replaced only when asked to", baseName,
                             groupedCount(systems))),
      baseName_(baseName),
      systems_(systems) {}

}  // namespace orrimar
