// What a refused call says: the message of the bad-input error it throws.
#pragma once

#include <string>

#include "common/errors.h"

namespace orrimar::testing {

// The message of the InputError `f` throws; "<accepted>" when it throws none.
template <typename F>
std::string messageOf(F&& f) {
    try {
        f();
    } catch (const InputError& e) {
        return e.what();
    }
    return "<accepted>";
}

}  // namespace orrimar::testing
