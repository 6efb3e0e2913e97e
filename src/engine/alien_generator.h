// The Alien Generator's OK command without its dialog: from the texts and
// selections of the dialog's fields to a race made to order in a scratch
// sector, its log written where the save dialog pointed, and the message
// the front end shows ("Alien Logfile Done", titled "Info").
//
// The scratch sector lives in a private temporary folder made for the one
// run and removed afterwards, whatever happens: nothing of the user's
// (a sector called "temp0" in the current folder, say) is ever touched.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "aliens/race_to_order.h"

namespace orrimar::engine {

// The order's lists and field conversions, as the front ends see them.
using orrimar::atmosphereForIndex;
using orrimar::kAtmosphereList;
using orrimar::kDefaultAtmosphere;
using orrimar::kDefaultWorldType;
using orrimar::kGeneratorMaxSpatialAge;
using orrimar::kGravityMessage;
using orrimar::kTemperatureMessage;
using orrimar::kWorldList;
using orrimar::ListEntry;
using orrimar::parseGravity;
using orrimar::parseTemperature;
using orrimar::worldTypeForIndex;

inline constexpr std::string_view kNoLogMessage = "No log file chosen: choose the file to save the log to first";
inline constexpr std::string_view kNoOutputMessage = "Choose an output system from the Output list";
inline constexpr std::string_view kDoneMessage = "Alien Logfile Done";
inline constexpr std::string_view kDoneTitle = "Info";

struct AlienGeneratorParams {
    std::string temperature = "15";     // the Temperature field's text
    std::string gravity = "1.00";       // the Gravity field's text
    int worldIndex = 0;                 // World list selection; -1 = none
    int atmosphereIndex = 0;            // Atmosphere list selection; -1 = none
    int outputIndex = 0;                // Output list selection 0..5; -1 = none
    bool totalAlienDisable = false;     // "Tot. al. disable"
    std::string logPath;                // the save dialog's chosen file, with its extension; empty = none yet
    int filterIndex = 1;                // the save dialog's filter: 2 = HTML log
    std::string settingsPath;           // orrwin.ini, for the alien thresholds
    std::optional<std::uint64_t> seed;  // repeat a race exactly; else the clock
    std::string scratchRoot;            // where the private folder is made; empty = the system's temp folder
};

struct AlienGeneratorResult {
    std::string title;     // "Info"
    std::string message;   // "Alien Logfile Done"
    int outputSystem = 0;  // to be remembered by the main window
};

// The OK command. Validation failures throw InputError with the dialog's
// message and write nothing; an input/output failure throws IoError and
// leaves neither a scratch file nor a half-written log behind.
AlienGeneratorResult runAlienGenerator(const AlienGeneratorParams& params);

}  // namespace orrimar::engine
