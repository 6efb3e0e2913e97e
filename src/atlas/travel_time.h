// Time on the way: how long one jump takes, as a game master writes it
// ("1w", "7d", "168h", "2w3d", "2 weeks 3 days"), and a time said back in
// words ("1 week", "2 weeks 3 days"). A route's legs each take one jump's
// time; the command line's --jump-time and the Atlas's "Jump takes" field
// both read it here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orrimar::atlas {

// A span of time in whole hours.
struct Duration {
    std::int64_t hours = 0;
};

// The longest jump a time may name: 10,000 weeks (about 190 years), far
// beyond any drive, and small enough that a route of millions of jumps
// still counts its hours exactly.
inline constexpr std::int64_t kLongestJumpHours = 10000 * 168;

// A jump's time: whole numbers each followed by a unit, w (weeks), d (days)
// or h (hours), or the words week(s), day(s), hour(s); case and blanks
// between the parts ignored, each unit at most once. InputError naming
// `option` for anything else, for no time at all (0) and for more than
// kLongestJumpHours.
Duration jumpTimeFromText(std::string_view text, std::string_view option);

// "1 week", "2 weeks 3 days", "1 day 6 hours", "0 hours": weeks, days and
// hours, the ones that are not zero.
std::string durationText(Duration time);

// `jumps` jumps of `each`.
inline Duration timeOfJumps(std::int64_t jumps, Duration each) { return Duration{jumps * each.hours}; }

}  // namespace orrimar::atlas
