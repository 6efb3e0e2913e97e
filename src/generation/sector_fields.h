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

// The standard integer conversion of typed numbers: leading blanks, an
// optional sign, then decimal digits or "$" and hexadecimal digits.
struct ConvertedInteger {
    std::int32_t value = 0;  // the partial value when the text is invalid (0 if none)
    bool complete = false;   // the whole text converted
};
ConvertedInteger convertInteger(std::string_view text);

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

// Reads and checks the fields as the OK button does. The run's seed and
// settings path are left for the caller to fill in.
CreateSectorAction convertCreateSectorFields(const CreateSectorFields& fields);

}  // namespace orrimar
