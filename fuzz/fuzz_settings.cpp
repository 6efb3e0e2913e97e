// The settings file: any bytes as orrwin.ini, read as the sector loop and
// the alien generator read it, the thresholds used for every roll, and a
// key written and read back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "aliens/race_steps.h"
#include "common/errors.h"
#include "fuzz_support.h"
#include "generation/stars.h"
#include "settings/ini_file.h"
#include "settings/probabilities.h"

using namespace orrimar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& scratch = fuzz::scratch();
    const std::string path = scratch.path("orrwin.ini");
    fuzz::writeFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        LoadStellarProbabilities(path);
    } catch (const OrrError&) {
    }
    try {
        LoadAlienProbabilities(path);
    } catch (const OrrError&) {
    }
    // Edited tables may cover less than a roll's range or run backwards:
    // every roll at and beside each threshold, and the ends of the range
    // (every roll would cost the fuzzer a tenth of its speed).
    for (const int t : stellarThresholds().t) {
        for (const int roll : {t - 1, t, t + 1}) {
            if (roll >= 1 && roll <= 1000) (void)starKindFromRoll(roll, stellarThresholds());
        }
    }
    (void)starKindFromRoll(1, stellarThresholds());
    (void)starKindFromRoll(1000, stellarThresholds());
    for (const int t : alienThresholds().t) {
        for (const int roll : {t - 1, t, t + 1}) {
            if (roll >= 1 && roll <= 100) (void)CategoryOfRoll(roll);
        }
    }
    (void)CategoryOfRoll(1);
    (void)CategoryOfRoll(100);

    try {
        IniFile ini(path);
        (void)ini.readString("Settings", "DataFolder");
        (void)ini.readInteger("Alien Probabilities", "Human", 20);
        ini.writeString("Stellar Probabilities", "Pheno", "7");
        ini.writeInteger("Orrimar Fuzz", "Written", -12345);
        ini.save();
        const IniFile again(path);
        // What was written reads back, whatever surrounded it.
        if (again.readInteger("Stellar Probabilities", "Pheno", 0) != 7 ||
            again.readInteger("Orrimar Fuzz", "Written", 0) != -12345) {
            std::fprintf(stderr, "a key written to the settings file did not read back\n");
            std::abort();
        }
    } catch (const OrrError&) {
    }
    return 0;
}
