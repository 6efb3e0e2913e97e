#include "common/scratch_folder.h"

#include <random>
#include <system_error>

#include <fmt/format.h>

#include "common/errors.h"

namespace fs = std::filesystem;

namespace orrimar {

ScratchFolder::ScratchFolder(const std::string& root, std::string_view prefix) {
    const fs::path parent = root.empty() ? fs::temp_directory_path() : fs::path(root);
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = parent / fmt::format("{}-{:08x}", prefix, entropy());
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
            path_ = candidate;
            return;
        }
        if (ec) throw IoError(fmt::format("Cannot make a scratch folder in {}: {}", parent.string(), ec.message()));
    }
    throw IoError(fmt::format("Cannot make a scratch folder in {}", parent.string()));
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

}  // namespace orrimar
