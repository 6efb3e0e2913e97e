// A private folder for one run's scratch files, made afresh and removed
// with everything in it when the run ends, however it ends: scratch work
// never lands where a user keeps files of their own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orrimar {

class ScratchFolder {
public:
    // A new folder named `prefix` and a random suffix inside `root` (empty:
    // the system's temporary folder), readable by its owner alone. IoError
    // when none can be made there.
    ScratchFolder(const std::string& root, std::string_view prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace orrimar
