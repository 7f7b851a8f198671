// Feeds arbitrary bytes to the record reading and the text rules. Any crash, sanitizer
// report or broken property below is a finding.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/cp1252.h"
#include "game/file_access.h"
#include "game/record_store.h"
#include "game/text_rules.h"

namespace {

// Serves the fuzzer's bytes as the content of every record file.
class BytesAsFiles final : public brivana::FileAccess {
public:
    explicit BytesAsFiles(std::string bytes) : bytes_(std::move(bytes)) {}
    brivana::IoStatus lockFolder(const std::string&, std::chrono::milliseconds,
                                 std::unique_ptr<brivana::FileLock>&) override
    {
        return {};
    }
    brivana::IoStatus list(const std::string&, std::vector<std::string>&) override { return {}; }
    brivana::IoStatus ensureFile(const std::string&) override { return {}; }
    brivana::IoStatus readHead(const std::string&, std::size_t maxBytes, std::string& out) override
    {
        out = bytes_.substr(0, maxBytes);
        return {};
    }
    brivana::IoStatus writeNew(const std::string&, const std::string&) override { return {}; }
    brivana::IoStatus syncFile(const std::string&) override { return {}; }
    brivana::IoStatus replace(const std::string&, const std::string&) override { return {}; }
    brivana::IoStatus remove(const std::string&) override { return {}; }
    brivana::IoStatus syncDirectory(const std::string&) override { return {}; }
    brivana::IoStatus readTail(const std::string&, std::size_t maxBytes, std::string& out,
                               std::uint64_t& size) override
    {
        size = bytes_.size();
        out = bytes_.substr(bytes_.size() - std::min(maxBytes, bytes_.size()));
        return {};
    }
    brivana::IoStatus appendPrivate(const std::string&, const std::string&) override { return {}; }
    brivana::IoStatus truncate(const std::string&, std::uint64_t) override { return {}; }

private:
    std::string bytes_;
};

void Check(bool holds)
{
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    BytesAsFiles files(bytes);
    brivana::RecordStore store(files, "/record/");
    std::string text;
    store.Leggifiletxt(store.scorePath(), text);
    Check(brivana::Utf8ToCp1252(text) == bytes.substr(0, brivana::kRecordReadLimit));

    const double record = brivana::LeadingNumber(text);
    Check(!std::isnan(record));
    brivana::ScoreBeatsRecord(text, "5");
    // A save compares the stored bytes again, under the lock, after reading them as a commit mark.
    store.SaveRecord("32767", text);
    if (const auto pair = brivana::DecodeCommitMark(bytes))
        Check(brivana::EncodeCommitMark(pair->first, pair->second) == bytes);

    if (const auto answer = brivana::AnswerValue(bytes)) {
        Check(std::fabs(brivana::LeadingNumber(bytes) - *answer) <= 0.5);
    }
    if (const auto strict = brivana::StrictNumber(bytes)) {
        Check(brivana::StrictNumber(brivana::NumberText(*strict, "#0")) == *strict);
    }
    brivana::Utf8ToCp1252(bytes);
    return 0;
}
