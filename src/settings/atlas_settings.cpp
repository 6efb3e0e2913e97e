#include "settings/atlas_settings.h"

#include "common/errors.h"
#include "settings/ini_file.h"

namespace orrimar {

namespace {

const char* const kSection = "Atlas";
const char* const kJumpTimeKey = "JumpTakes";

}  // namespace

AtlasSettings readAtlasSettings(const std::string& path) {
    AtlasSettings settings;
    try {
        const IniFile ini(path);
        settings.jumpTime = ini.readString(kSection, kJumpTimeKey).value_or("");
    } catch (const OrrError&) {
        // A settings file that cannot be read is a missing one.
    }
    return settings;
}

void writeAtlasSettings(const std::string& path, const AtlasSettings& settings) {
    IniFile ini(path);
    ini.writeString(kSection, kJumpTimeKey, settings.jumpTime);
    ini.save();
}

}  // namespace orrimar
