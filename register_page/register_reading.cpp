#include "register_page/register_reading.h"

#include <algorithm>
#include <string>

namespace brivana::register_page {

namespace {

class LineSplitter {
public:
    LineSplitter(RegisterReading& reading, const LineDecoder& decode, std::size_t longestLine)
        : reading_(reading), decode_(decode), longestLine_(longestLine)
    {
    }

    void take(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const std::size_t end = bytes.find('\n');
            append(bytes.substr(0, end));
            if (end == std::string_view::npos) return;
            finishLine();
            bytes.remove_prefix(end + 1);
        }
    }

    // The last line, when the file does not end with a line end.
    void finish()
    {
        if (!line_.empty() || overlong_) finishLine();
    }

private:
    void append(std::string_view part)
    {
        if (overlong_) return;
        if (line_.size() + part.size() > longestLine_ + 1) {  // + 1: a CR before the LF
            overlong_ = true;
            line_.clear();
            return;
        }
        line_.append(part);
    }

    void finishLine()
    {
        std::string_view line = line_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (overlong_ || line.size() > longestLine_) {
            ++reading_.unreadableLines;
        } else if (!line.empty()) {
            if (std::optional<PlayedGame> game = decode_(line))
                reading_.games.push_back(std::move(*game));
            else
                ++reading_.unreadableLines;
        }
        line_.clear();
        overlong_ = false;
    }

    RegisterReading& reading_;
    const LineDecoder& decode_;
    std::size_t longestLine_;
    std::string line_;
    bool overlong_ = false;
};

}  // namespace

RegisterReading ReadRegister(std::istream& in, const LineDecoder& decode, ReadingLimits limits)
{
    RegisterReading reading;
    LineSplitter lines(reading, decode, limits.longestLine);
    std::string chunk(64 * 1024, '\0');
    std::size_t readSoFar = 0;
    while (in) {
        const std::size_t room = limits.mostBytes - readSoFar;
        if (room == 0) {
            // Whatever line was under way is left out with the rest of the file.
            reading.cutShort = in.peek() != std::char_traits<char>::eof();
            if (reading.cutShort) return reading;
            break;
        }
        in.read(chunk.data(), static_cast<std::streamsize>(std::min(chunk.size(), room)));
        const auto got = static_cast<std::size_t>(in.gcount());
        readSoFar += got;
        lines.take(std::string_view(chunk.data(), got));
    }
    lines.finish();
    return reading;
}

}  // namespace brivana::register_page
