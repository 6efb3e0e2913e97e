// Numbers typed into a field or an option, read the same way everywhere
// and whatever the locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orrimar {

// The value of one hexadecimal digit (either case), or -1 for anything else.
int hexDigitValue(char c);

// The standard integer conversion of typed numbers: leading blanks, an
// optional sign, then decimal digits or "$" and hexadecimal digits.
struct ConvertedInteger {
    std::int32_t value = 0;  // the partial value when the text is invalid (0 if none)
    bool complete = false;   // the whole text converted
};
ConvertedInteger convertInteger(std::string_view text);

// A decimal real, the whole text: blanks around it, an optional sign,
// digits with at most one point, an optional exponent. No hexadecimal,
// "inf" or "nan".
std::optional<double> decimalReal(std::string_view text);

}  // namespace orrimar
