// The Create Sector dialog's OK action without the dialog: the field texts
// in, the run to make (if any), the message to show and the field texts to
// put back out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "generation/create_sector.h"

namespace orrimar {

// The texts and boxes of the dialog. Texts are in the records' code page,
// one byte per character.
struct CreateSectorFields {
    std::string name = "starlog";
    std::string file = "starlog";
    std::string x = "0";
    std::string y = "0";
    std::string z = "0";
    std::string density = "8";
    std::string size = "25";
    std::string maxSpatialAge = "50";
    std::string seed;  // decimal 0..2^64-1; empty: from the clock
    bool gaia = false;
    bool newFile = true;
    bool totalAlienDisable = false;
    bool flat = false;
    bool names = true;  // "Names": name every system and race generated
};

struct CreateSectorAction {
    // The run to make; none when the size is out of range.
    std::optional<CreateSectorParams> run;
    // A message box to show (title and text), e.g. "Size should be inferior to 201".
    std::optional<std::string> messageTitle;
    std::optional<std::string> message;
    // New texts for the Size and Max Spatial Age fields when theirs did not convert.
    std::optional<std::string> sizeText;
    std::optional<std::string> maxSpatialAgeText;
};

// Reads and checks the fields as the OK button does. The settings path is
// left for the caller to fill in; an empty seed leaves the run's seed to the
// clock, a seed that is not a whole number 0..18446744073709551615 is refused.
CreateSectorAction convertCreateSectorFields(const CreateSectorFields& fields);

}  // namespace orrimar
