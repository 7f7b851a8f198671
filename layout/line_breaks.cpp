#include "layout/line_breaks.h"

namespace brivana::layout {

namespace {

// How many characters of `rest` fit on a line of `width`: at least one, so a line always moves on.
std::size_t Fitting(std::u32string_view rest, int width, const Measure& measure)
{
    std::size_t low = 1, high = rest.size();
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (measure(rest.substr(0, middle)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

void BreakParagraph(std::u32string_view paragraph, int width, const Measure& measure, std::u32string& out)
{
    std::u32string line;
    bool started = false;  // the line holds a word, perhaps an empty one between two spaces
    std::size_t at = 0;
    while (at <= paragraph.size()) {
        const std::size_t space = paragraph.find(U' ', at);
        const std::size_t end = space == std::u32string_view::npos ? paragraph.size() : space;
        std::u32string_view word = paragraph.substr(at, end - at);
        at = end + 1;
        std::u32string joined = started ? line + U' ' + std::u32string(word) : std::u32string(word);
        if (measure(joined) <= width) {
            line = std::move(joined);
            started = true;
            continue;
        }
        // The space before the word becomes the break; a space with nothing after it goes, and
        // so does a line of spaces alone.
        if (word.empty()) continue;
        if (line.find_first_not_of(U' ') != std::u32string::npos) out += line + U'\n';
        // A word wider than a whole line is broken where each line is full.
        while (measure(word) > width) {
            const std::size_t fits = Fitting(word, width, measure);
            out += std::u32string(word.substr(0, fits)) + U'\n';
            word.remove_prefix(fits);
        }
        line = std::u32string(word);
        started = true;
    }
    out += line;
}

}  // namespace

std::u32string BrokenLines(std::u32string_view text, int width, const Measure& measure)
{
    std::u32string out;
    std::size_t at = 0;
    while (true) {
        const std::size_t end = text.find(U'\n', at);
        BreakParagraph(text.substr(at, end == std::u32string_view::npos ? text.npos : end - at), width, measure, out);
        if (end == std::u32string_view::npos) return out;
        out += U'\n';
        at = end + 1;
    }
}

}  // namespace brivana::layout
