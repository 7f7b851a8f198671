#include "game/keeper_requests.h"

#include <utility>

#include "game/cp1252.h"

namespace brivana {

namespace {

void PutText(std::string& payload, std::string_view text)
{
    const auto size = static_cast<std::uint32_t>(text.size());
    for (int shift = 0; shift < 32; shift += 8) payload += static_cast<char>((size >> shift) & 0xFF);
    payload += text;
}

// Reads a payload's parts in order; once one is missing every later one is too.
class PayloadReader {
public:
    explicit PayloadReader(std::string_view payload) : payload_(payload) {}

    std::optional<char> byte()
    {
        if (at_ >= payload_.size()) return std::nullopt;
        return payload_[at_++];
    }
    std::optional<std::string> text()
    {
        if (payload_.size() - at_ < 4) return std::nullopt;
        std::uint32_t size = 0;
        for (std::size_t i = 0; i < 4; ++i)
            size |= std::uint32_t{static_cast<unsigned char>(payload_[at_ + i])} << (8 * i);
        at_ += 4;
        if (payload_.size() - at_ < size) return std::nullopt;
        std::string text(payload_.substr(at_, size));
        at_ += size;
        return text;
    }
    bool atEnd() const { return at_ == payload_.size(); }

private:
    std::string_view payload_;
    std::size_t at_ = 0;
};

// The bytes Windows-1252 leaves unassigned read back as control characters.
bool IsControlByte(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 ||
           byte == 0x9D;
}

}  // namespace

std::string FrameOf(std::string_view payload)
{
    std::string frame;
    PutText(frame, payload);
    return frame;
}

std::optional<std::uint32_t> FramePayloadSize(const unsigned char (&header)[kFrameHeaderSize], std::uint32_t limit)
{
    std::uint32_t size = 0;
    for (std::size_t i = 0; i < kFrameHeaderSize; ++i) size |= std::uint32_t{header[i]} << (8 * i);
    if (size > limit) return std::nullopt;
    return size;
}

std::string EncodeCanKeepRequest() { return std::string(1, static_cast<char>(KeeperRequestKind::canKeep)); }
std::string EncodeReadRequest() { return std::string(1, static_cast<char>(KeeperRequestKind::read)); }

std::string EncodeSaveRequest(std::string_view score, std::string_view holder)
{
    std::string payload(1, static_cast<char>(KeeperRequestKind::save));
    PutText(payload, score);
    PutText(payload, holder);
    return payload;
}

std::string EncodeAppendRequest(const GameResult& result)
{
    std::string payload(1, static_cast<char>(KeeperRequestKind::append));
    PutText(payload, EncodeResultFields(result));
    return payload;
}

std::string EncodeClearRequest(int schoolYear)
{
    std::string payload(1, static_cast<char>(KeeperRequestKind::clear));
    PutText(payload, std::to_string(schoolYear));
    return payload;
}

std::optional<KeeperRequest> DecodeRequest(std::string_view payload)
{
    PayloadReader in(payload);
    const auto kind = in.byte();
    if (!kind) return std::nullopt;
    KeeperRequest request;
    request.kind = static_cast<KeeperRequestKind>(*kind);
    switch (request.kind) {
    case KeeperRequestKind::canKeep:
    case KeeperRequestKind::read:
        break;
    case KeeperRequestKind::append:
    case KeeperRequestKind::clear: {
        auto text = in.text();
        if (!text) return std::nullopt;
        request.text = std::move(*text);
        break;
    }
    case KeeperRequestKind::save: {
        auto score = in.text();
        auto holder = in.text();
        if (!score || !holder) return std::nullopt;
        request.score = std::move(*score);
        request.holder = std::move(*holder);
        break;
    }
    default:
        return std::nullopt;
    }
    if (!in.atEnd()) return std::nullopt;
    return request;
}

bool IsScoreText(std::string_view text)
{
    if (text.empty() || text.size() > 5 || (text.size() > 1 && text.front() == '0')) return false;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value <= kScoreMax;
}

bool IsHolderName(std::string_view text)
{
    // Each character is one byte there; a text that does not come back whole from that code
    // page is malformed UTF-8 or holds characters it lacks.
    const std::string bytes = Utf8ToCp1252(text);
    if (bytes.size() > kHolderNameMaxLength || Cp1252ToUtf8(bytes) != text) return false;
    for (const char byte : bytes)
        if (IsControlByte(static_cast<unsigned char>(byte))) return false;
    return true;
}

std::string StorableHolderName(std::string_view name)
{
    std::string bytes = Utf8ToCp1252(name);
    if (bytes.size() > kHolderNameMaxLength) bytes.resize(kHolderNameMaxLength);
    for (char& byte : bytes)
        if (IsControlByte(static_cast<unsigned char>(byte))) byte = ' ';
    return Cp1252ToUtf8(bytes);
}

std::string SaveRequestProblem(std::string_view score, std::string_view holder)
{
    if (!IsScoreText(score))
        return "Il punteggio da salvare non è un numero intero da 0 a " + std::to_string(kScoreMax) +
               " scritto come lo scrive il gioco: non lo salvo.";
    if (!IsHolderName(holder))
        return "Il nome da salvare è più lungo di " + std::to_string(kHolderNameMaxLength) +
               " caratteri o contiene caratteri che il record non può tenere (a capo, tabulazioni o "
               "altri caratteri di controllo): non lo salvo.";
    return {};
}

std::string EncodeCanKeepAnswer(bool canKeep) { return canKeep ? "1" : "0"; }

std::optional<bool> DecodeCanKeepAnswer(std::string_view payload)
{
    if (payload == "1") return true;
    if (payload == "0") return false;
    return std::nullopt;
}

std::string EncodeReadAnswer(const RecordReading& reading)
{
    std::string payload(1, reading.complete ? '1' : '0');
    PutText(payload, reading.score);
    PutText(payload, reading.holder);
    for (const std::string& problem : reading.problems) PutText(payload, problem);
    return payload;
}

std::optional<RecordReading> DecodeReadAnswer(std::string_view payload)
{
    PayloadReader in(payload);
    const auto complete = in.byte();
    auto score = in.text();
    auto holder = in.text();
    if (!complete || (*complete != '0' && *complete != '1') || !score || !holder) return std::nullopt;
    RecordReading reading{std::move(*score), std::move(*holder), *complete == '1', {}};
    while (!in.atEnd()) {
        auto problem = in.text();
        if (!problem) return std::nullopt;
        reading.problems.push_back(std::move(*problem));
    }
    return reading;
}

std::string EncodeSaveAnswer(const SaveResult& result)
{
    std::string payload(1, static_cast<char>(result.outcome));
    PutText(payload, result.why);
    return payload;
}

std::optional<SaveResult> DecodeSaveAnswer(std::string_view payload)
{
    PayloadReader in(payload);
    const auto outcome = in.byte();
    auto why = in.text();
    if (!outcome || !why || !in.atEnd() || *outcome < static_cast<char>(SaveOutcome::saved) ||
        *outcome > static_cast<char>(SaveOutcome::kept))
        return std::nullopt;
    return SaveResult{static_cast<SaveOutcome>(*outcome), std::move(*why)};
}

std::string EncodeRegisterAnswer(const RegisterResult& result)
{
    std::string payload(1, result.done ? '1' : '0');
    PutText(payload, result.why);
    return payload;
}

std::optional<RegisterResult> DecodeRegisterAnswer(std::string_view payload)
{
    PayloadReader in(payload);
    const auto done = in.byte();
    auto why = in.text();
    if (!done || (*done != '0' && *done != '1') || !why || !in.atEnd()) return std::nullopt;
    return RegisterResult{*done == '1', std::move(*why)};
}

std::optional<int> SchoolYearOfRequest(std::string_view text)
{
    if (text.size() != 4) return std::nullopt;
    int year = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        year = year * 10 + (c - '0');
    }
    if (year < kFirstSchoolYear || year > kLastSchoolYear) return std::nullopt;
    return year;
}

}  // namespace brivana
