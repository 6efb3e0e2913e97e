// Helpers for the atmosphere, climate and feature tests: a sink that keeps
// the system's messages, and seeds chosen for the dice they will show.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/message_sink.h"
#include "common/random.h"

namespace orrimar::testing {

class CapturingSink final : public MessageSink {
public:
    void message(std::string_view title, std::string_view text) override {
        messages.emplace_back(std::string(title), std::string(text));
    }
    std::vector<std::pair<std::string, std::string>> messages;
};

// Installs a capturing sink for the life of the object.
struct CaptureMessages {
    CaptureMessages() { setMessageSink(&sink); }
    ~CaptureMessages() { setMessageSink(nullptr); }
    CaptureMessages(const CaptureMessages&) = delete;
    CaptureMessages& operator=(const CaptureMessages&) = delete;
    CapturingSink sink;
};

// Seeds the generator with the first seed whose coming rolls satisfy
// `rollsMatch` (which rolls them), then re-seeds it so that the code under
// test sees those same rolls.
template <class Pred>
std::uint64_t seedWhere(Pred rollsMatch) {
    for (std::uint64_t seed = 1;; ++seed) {
        seedRandom(seed);
        if (rollsMatch()) {
            seedRandom(seed);
            return seed;
        }
    }
}

// How many rolls the code under test took since `seed`: call it right after
// that code. It draws a marker and finds where a fresh run of the seed
// meets it (each die of the rules takes one draw).
inline int rollsTaken(std::uint64_t seed) {
    constexpr std::uint32_t kWide = 1U << 31;
    const std::uint32_t marker = randomBelow(kWide);
    seedRandom(seed);
    for (int taken = 0; taken < 100000; ++taken) {
        if (randomBelow(kWide) == marker) return taken;
    }
    return -1;
}

}  // namespace orrimar::testing
