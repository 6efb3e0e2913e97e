#include <gtest/gtest.h>

#include "common/bit_flags.h"

#include <string>
#include <vector>

#include "common/message_sink.h"

namespace orrimar {
namespace {

TEST(BitFlags, MasksOfTheEightBits) {
    const std::uint8_t masks[] = {1, 2, 4, 8, 16, 32, 64, 128};
    for (int bit = 1; bit <= 8; ++bit) EXPECT_EQ(bitMask(bit), masks[bit - 1]) << bit;
}

TEST(BitFlags, TestSetAndClearWorkInPlace) {
    std::uint8_t flags = 0;
    setBit(flags, 3);
    setBit(flags, 8);
    EXPECT_EQ(flags, 0x84);
    EXPECT_TRUE(testBit(flags, 3));
    EXPECT_FALSE(testBit(flags, 4));
    clearBit(flags, 8);
    EXPECT_EQ(flags, 0x04);

    // Flags across bytes: flag 9 is bit 1 of the second byte, 96 bit 8 of the twelfth.
    std::uint8_t set[12] = {};
    setFlag(set, 9);
    setFlag(set, 96);
    EXPECT_EQ(set[1], 0x01);
    EXPECT_EQ(set[11], 0x80);
    EXPECT_TRUE(testFlag(set, 96));
    clearFlag(set, 9);
    EXPECT_EQ(set[1], 0);
}

class Collected : public MessageSink {
public:
    void message(std::string_view title, std::string_view text) override {
        lines.push_back(std::string(title) + ": " + std::string(text));
    }
    std::vector<std::string> lines;
};

TEST(BitFlags, AWrongBitNumberIsReportedToTheSinkAndHarmless) {
    for (int bad : {0, 9, -3}) {
        Collected sink;
        const ThreadMessageSink mine(sink);
        ::testing::internal::CaptureStdout();
        std::uint8_t flags = 0x5A;
        EXPECT_EQ(bitMask(bad), 0);
        setBit(flags, bad);
        clearBit(flags, bad);
        EXPECT_TRUE(testBit(flags, bad));  // mask 0 is always "set"
        EXPECT_EQ(flags, 0x5A);
        // Nothing on standard output, which may be carrying JSON.
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        const std::string line = "Error: Error in bit value  bv=" + std::to_string(bad);
        EXPECT_EQ(sink.lines, std::vector<std::string>(4, line));
    }
}

}  // namespace
}  // namespace orrimar
