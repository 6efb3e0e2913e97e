// The rule systems a race's statistics can be given for, by output system
// code, in the order the front ends list them.
#pragma once

namespace orrimar::vocabulary {

constexpr const char* kOutputSystems[] = {"Standard", "Alternity", "Battlelords", "Gurps", "SpaceMaster", "Fuzion"};

}  // namespace orrimar::vocabulary
