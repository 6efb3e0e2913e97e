#include <gtest/gtest.h>

#include <string>

#include "atlas/travel_time.h"
#include "common/errors.h"

namespace orrimar::atlas {
namespace {

std::int64_t hoursOf(const std::string& text) { return jumpTimeFromText(text, "--jump-time").hours; }

// The error's words, or "" when the text was taken.
std::string refusal(const std::string& text) {
    try {
        jumpTimeFromText(text, "Jump takes");
    } catch (const InputError& e) {
        return e.what();
    }
    return {};
}

TEST(TravelTime, WeeksDaysAndHoursInLettersOrWords) {
    EXPECT_EQ(hoursOf("1w"), 168);
    EXPECT_EQ(hoursOf("7d"), 168);
    EXPECT_EQ(hoursOf("168h"), 168);
    EXPECT_EQ(hoursOf("2w3d"), 408);
    EXPECT_EQ(hoursOf("3d2w"), 408);
    EXPECT_EQ(hoursOf("2 weeks 3 days"), 408);
    EXPECT_EQ(hoursOf("1 week"), 168);
    EXPECT_EQ(hoursOf("1W 2D 3H"), 168 + 48 + 3);
    EXPECT_EQ(hoursOf("  1d\t"), 24);
    EXPECT_EQ(hoursOf("1 day 1 hour"), 25);
    EXPECT_EQ(hoursOf("1h"), 1);
    EXPECT_EQ(hoursOf("0w1h"), 1);
    EXPECT_EQ(hoursOf("007d"), 168);
}

TEST(TravelTime, AnythingElseIsRefusedNamingTheField) {
    for (const std::string bad : {"", "   ", "w", "1", "1 2d", "1x", "1.5w", "-1w", "+1w", "1w1w", "1 week 2 weeks",
                                  "1w 2", "1w,2d", "1wk", "1 weekss", "d1", "1w?", "1\u00b5h"}) {
        const std::string why = refusal(bad);
        EXPECT_NE(why.find("Jump takes: '" + bad + "' is no time"), std::string::npos) << "'" << bad << "': " << why;
    }
    // No time at all is no jump.
    for (const std::string zero : {"0h", "0w0d", "0 days"}) {
        EXPECT_NE(refusal(zero).find("a jump takes an hour or more"), std::string::npos) << zero;
    }
}

TEST(TravelTime, TheLongestJumpIsTenThousandWeeksAndNoMore) {
    EXPECT_EQ(hoursOf("10000w"), kLongestJumpHours);
    EXPECT_EQ(hoursOf("9999w6d24h"), kLongestJumpHours);
    EXPECT_EQ(hoursOf("1680000h"), kLongestJumpHours);
    for (const std::string tooLong : {"10000w1h", "1680001h", "70001d", "99999999999999999999999999h",
                                      "9223372036854775807w", "18446744073709551617d"}) {
        EXPECT_NE(refusal(tooLong).find("is too long: a jump takes at most 10000 weeks"), std::string::npos)
            << tooLong << ": " << refusal(tooLong);
    }
    // A route of a million longest jumps still counts its hours exactly.
    EXPECT_EQ(timeOfJumps(1000000, Duration{kLongestJumpHours}).hours, 1680000LL * 1000000LL);
}

TEST(TravelTime, SaidInWordsOneOrMany) {
    EXPECT_EQ(durationText(Duration{0}), "0 hours");
    EXPECT_EQ(durationText(Duration{1}), "1 hour");
    EXPECT_EQ(durationText(Duration{23}), "23 hours");
    EXPECT_EQ(durationText(Duration{24}), "1 day");
    EXPECT_EQ(durationText(Duration{25}), "1 day 1 hour");
    EXPECT_EQ(durationText(Duration{167}), "6 days 23 hours");
    EXPECT_EQ(durationText(Duration{168}), "1 week");
    EXPECT_EQ(durationText(Duration{169}), "1 week 1 hour");
    EXPECT_EQ(durationText(Duration{336}), "2 weeks");
    EXPECT_EQ(durationText(Duration{408}), "2 weeks 3 days");
    EXPECT_EQ(durationText(Duration{168 + 24 + 2}), "1 week 1 day 2 hours");
    EXPECT_EQ(durationText(timeOfJumps(3, Duration{408})), "7 weeks 2 days");
    // What is said reads back as the same time.
    for (std::int64_t h = 1; h <= 2000; h += 7) EXPECT_EQ(hoursOf(durationText(Duration{h})), h) << h;
    EXPECT_EQ(hoursOf(durationText(Duration{kLongestJumpHours})), kLongestJumpHours);
}

}  // namespace
}  // namespace orrimar::atlas
