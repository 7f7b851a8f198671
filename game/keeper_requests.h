#pragma once
// The requests a game sends to the record keeper and the keeper's answers, as bytes, with
// their bounds and the check of what a save may store. No sockets or pipes here: each
// platform's keeper moves these bytes its own way, and every keeper refuses the same things.
//
// On the wire every message is a frame: its payload's size in 4 bytes (least significant
// first), then the payload. A payload is one byte naming it, then texts, each its size in 4
// bytes and its bytes. Texts are UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/record_keeper.h"

namespace brivana {

inline constexpr std::size_t kFrameHeaderSize = 4;
// The largest request payload a keeper reads: a save of the longest name, with room to spare.
// Anything larger ends the conversation unread.
inline constexpr std::uint32_t kRequestLimit = 2048;
// The largest answer payload a game reads: two record files as read, and the problems met.
inline constexpr std::uint32_t kAnswerLimit = 512 * 1024;

// The longest name a record keeps, in characters; the name prompt stops there too.
inline constexpr std::size_t kHolderNameMaxLength = 255;
// The highest score a game can reach: the tallies stop counting there.
inline constexpr int kScoreMax = 32767;

enum class KeeperRequestKind : char { canKeep = 'W', read = 'R', save = 'S', append = 'A', clear = 'C' };

struct KeeperRequest {
    KeeperRequestKind kind = KeeperRequestKind::read;
    std::string score;   // a save's texts, as sent: check them with SaveRequestProblem
    std::string holder;
    std::string text;    // an append's result fields, a clearing's school year, as sent
};

// The frame carrying payload.
std::string FrameOf(std::string_view payload);
// The payload size a frame header announces; nothing when it is larger than limit.
std::optional<std::uint32_t> FramePayloadSize(const unsigned char (&header)[kFrameHeaderSize], std::uint32_t limit);

std::string EncodeCanKeepRequest();
std::string EncodeReadRequest();
std::string EncodeSaveRequest(std::string_view score, std::string_view holder);
// Appends result to the register of the school year under way.
std::string EncodeAppendRequest(const GameResult& result);
// Empties the register of schoolYear.
std::string EncodeClearRequest(int schoolYear);
// One of the requests, whole and with nothing after it; nothing otherwise.
std::optional<KeeperRequest> DecodeRequest(std::string_view payload);

// Whether text is a score a record can hold: a decimal 0..kScoreMax as the game writes it
// (no sign, no leading zero, no space).
bool IsScoreText(std::string_view text);
// Whether text is a name a record can hold: well-formed UTF-8 of at most kHolderNameMaxLength
// Windows-1252 characters, none of them a control character.
bool IsHolderName(std::string_view text);
// name as a record can hold it: each character Windows-1252 lacks becomes "?", each control
// character a space, and the characters past kHolderNameMaxLength are left out.
std::string StorableHolderName(std::string_view name);
// Why a save of these texts is refused, in Italian; empty when it may go ahead.
std::string SaveRequestProblem(std::string_view score, std::string_view holder);

std::string EncodeCanKeepAnswer(bool canKeep);
std::optional<bool> DecodeCanKeepAnswer(std::string_view payload);
std::string EncodeReadAnswer(const RecordReading& reading);
std::optional<RecordReading> DecodeReadAnswer(std::string_view payload);
std::string EncodeSaveAnswer(const SaveResult& result);
std::optional<SaveResult> DecodeSaveAnswer(std::string_view payload);
std::string EncodeRegisterAnswer(const RegisterResult& result);
std::optional<RegisterResult> DecodeRegisterAnswer(std::string_view payload);
// The school year a clearing names: four digits, kFirstSchoolYear..kLastSchoolYear.
std::optional<int> SchoolYearOfRequest(std::string_view text);

}  // namespace brivana
