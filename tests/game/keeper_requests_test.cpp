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
        {"7", longest}, {"7", "Zo\xEB"}, {"7", "日本"},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE("score " + row.score.substr(0, 20) + " name " + row.holder.substr(0, 20));
        const auto request = DecodeRequest(EncodeSaveRequest(row.score, row.holder));
        ASSERT_TRUE(request);
        EXPECT_FALSE(SaveRequestProblem(request->score, request->holder).empty());
    }
    for (const auto& [score, holder] : {std::pair{"0", ""}, std::pair{"32767", accented.c_str()},
                                        std::pair{"10", "Zoë € “Bea”"}}) {
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
    const std::string frame = FrameOf(EncodeReadRequest());
    const unsigned char* header = reinterpret_cast<const unsigned char*>(frame.data());
    EXPECT_EQ(FramePayloadSize({header[0], header[1], header[2], header[3]}, kRequestLimit), 1u);
}

}  // namespace
}  // namespace brivana::testing
