#include "register_page/register_csv.h"

#include <cstdio>

#include "register_page/page_text.h"
#include "register_page/pupil_summary.h"

namespace brivana::register_page {

namespace {

// A text field, quoted, its quotes doubled. A text a spreadsheet would take for a formula is
// kept as text by a leading apostrophe: a name typed by a pupil must never run as one.
std::string TextField(const std::string& text)
{
    std::string clean = CleanText(text);
    if (!clean.empty() && std::string_view("=+-@").find(clean.front()) != std::string_view::npos)
        clean.insert(clean.begin(), '\'');
    std::string field = "\"";
    for (const char c : clean) {
        if (c == '"') field += '"';
        field += c;
    }
    field += '"';
    return field;
}

std::string IsoDate(const Moment& when)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", when.year, when.month, when.day);
    return text;
}

std::string IsoTime(const Moment& when)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", when.hour, when.minute, when.second);
    return text;
}

}  // namespace

std::string RegisterCsv(const std::vector<PlayedGame>& games)
{
    std::string csv = "\xEF\xBB\xBF\"Data\";\"Ora\";\"Computer\";\"Alunno\";\"Esatte\";\"Errate\";\"Totali\";"
                      "\"Secondi di gioco\";\"Fine della partita\";\"Record\"\r\n";
    for (const PlayedGame& game : GamesFrom(games, Moment{})) {
        csv += IsoDate(game.when) + ";" + IsoTime(game.when) + ";" + TextField(game.computer) + ";" +
               TextField(game.pupil) + ";" + std::to_string(game.right) + ";" + std::to_string(game.wrong) + ";" +
               std::to_string(game.total) + ";" + std::to_string(game.seconds) + ";" +
               TextField(EndingText(game.ending)) + ";" + TextField(game.setRecord ? "sì" : "no") + "\r\n";
    }
    return csv;
}

}  // namespace brivana::register_page
