// A refused value of one field of a colony or an empire. The message names
// the field the way the user gave it; field() tells a front end which of
// its own options or widgets to point at ("law" is --law on the command
// line, the Law box of a dialog).
#pragma once

#include <string>
#include <utility>

#include "common/errors.h"

namespace orrimar {

class FieldError : public InputError {
public:
    FieldError(std::string field, const std::string& problem)
        : InputError(field + ": " + problem), field_(std::move(field)), problem_(problem) {}
    const std::string& field() const { return field_; }
    // The message without the field's name in front.
    const std::string& problem() const { return problem_; }

private:
    std::string field_;
    std::string problem_;
};

}  // namespace orrimar
