// What a record keeper accepts from a game: the frames' bounds and the texts a save may store.
#include "game/keeper_requests.h"

#include <gtest/gtest.h>

namespace brivana::testing {
namespace {

TEST(KeeperRequests, ASaveOfAnythingButAScoreAndANameTheRecordCanHoldIsRefused)
{
    const std::string longest(kHolderNameMaxLength, '\xC3');  // half of each "à" below
    std::string accented;
    for (std::size_t i = 0; i < kHolderNameMaxLength; ++i) accented += "à";
    const struct { std::string score, holder; } refused[] = {
        {"011", "Anna"}, {"-1", "Anna"}, {"+1", "Anna"}, {"32768", "Anna"}, {"9223372036854775807", "Anna"},
        {std::string(400000, '0'), "Anna"}, {"", "Anna"}, {"7 ", "Anna"}, {" 7", "Anna"}, {"7\r\n", "Anna"},
        {"7", "An\rna"}, {"7", "An\nna"}, {std::string("7"), std::string("An\0na", 5)}, {"7", "An\tna"},
        {"7", "An\x7Fna"}, {"7", "\xC2\x81"}, {"7", accented + "a"}, {"7", std::string(65536, 'a')},
        {"7", longest}, {"7", "Zo\xEB"}, {"7", "日本"}, {"09", "Anna"}, {"00", "Anna"}, {"32769", "Anna"},
        {"99999", "Anna"}, {"7", "An\x1Fna"}, {"7", "An\x01na"}, {"7", "\xC2\x8D"}, {"7", "\xC2\x8F"},
        {"7", "\xC2\x90"}, {"7", "\xC2\x9D"}, {"7", "\xC2\x80"},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE("score " + row.score.substr(0, 20) + " name " + row.holder.substr(0, 20));
        const auto request = DecodeRequest(EncodeSaveRequest(row.score, row.holder));
        ASSERT_TRUE(request);
        EXPECT_FALSE(SaveRequestProblem(request->score, request->holder).empty());
        // What a game hands the keeper instead is always accepted.
        EXPECT_TRUE(IsHolderName(StorableHolderName(row.holder)));
    }
    EXPECT_EQ(StorableHolderName("Łukasz\tB"), "?ukasz B");
    for (const auto& [score, holder] : {std::pair{"0", ""}, std::pair{"32767", accented.c_str()},
                                        std::pair{"10", "Zoë € “Bea”"}, std::pair{"9", " ~"}, std::pair{"19999", "Ÿ\xC2\xA0ÿ"},
                                        std::pair{"29", "ž"}}) {
        SCOPED_TRACE(score);
        EXPECT_EQ(SaveRequestProblem(score, holder), "");
    }
    // A request must be one of the three, whole, with nothing after it.
    for (const std::string& bad : {std::string(), std::string("X"), EncodeReadRequest() + "x",
                                  EncodeSaveRequest("7", "Anna") + "x", EncodeSaveRequest("7", "Anna").substr(0, 9)})
        EXPECT_FALSE(DecodeRequest(bad)) << bad;
    // The longest save fits in a request; a larger frame is not read at all.
    EXPECT_LE(EncodeSaveRequest("32767", accented).size(), kRequestLimit);
    const unsigned char huge[kFrameHeaderSize] = {0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_FALSE(FramePayloadSize(huge, kRequestLimit));
    // A frame of exactly the limit is read; one byte more is not.
    const std::string atLimit = FrameOf(std::string(kRequestLimit, 'x'));
    const std::string overLimit = FrameOf(std::string(kRequestLimit + 1, 'x'));
    const auto* at = reinterpret_cast<const unsigned char*>(atLimit.data());
    const auto* over = reinterpret_cast<const unsigned char*>(overLimit.data());
    EXPECT_EQ(FramePayloadSize({at[0], at[1], at[2], at[3]}, kRequestLimit), kRequestLimit);
    EXPECT_FALSE(FramePayloadSize({over[0], over[1], over[2], over[3]}, kRequestLimit));
    const std::string frame = FrameOf(EncodeReadRequest());
    const unsigned char* header = reinterpret_cast<const unsigned char*>(frame.data());
    EXPECT_EQ(FramePayloadSize({header[0], header[1], header[2], header[3]}, kRequestLimit), 1u);
}

}  // namespace
}  // namespace brivana::testing
