#include "register_page/register_html.h"

#include <array>
#include <map>

#include "register_page/page_text.h"
#include "register_page/periods.h"
#include "register_page/pupil_chart.h"
#include "register_page/pupil_summary.h"

namespace brivana::register_page {

namespace {

// The period shown first: the whole school year.
constexpr std::size_t kFirstPeriod = 2;

constexpr const char* kStyle = R"css(
*{box-sizing:border-box}
body{font-family:"Liberation Sans",Arial,Helvetica,sans-serif;color:#1b1b1b;background:#fff;margin:0 auto;
  max-width:62em;padding:1em;line-height:1.4;overflow-wrap:break-word}
h1{font-size:1.6em;margin:.2em 0}h2{font-size:1.3em;margin:1em 0 .3em}h3{font-size:1.1em;margin:1em 0 .3em}
.fatti{color:#444;margin:.2em 0}
.avviso{border:2px solid #b35c00;background:#fff4e5;padding:.5em .8em;margin:.6em 0}
.vuoto{font-size:1.15em;padding:1em;border:1px solid #999;background:#f4f4f4}
.scelta{display:flex;flex-wrap:wrap;gap:.4em;margin:.8em 0}
.scelta label{border:1px solid #1f5fa8;border-radius:.3em;padding:.3em .8em;cursor:pointer;color:#1f5fa8}
input.periodo{position:absolute;opacity:0;pointer-events:none}
section.periodo{display:none}
#scelta-settimana:checked~main #settimana,#scelta-mese:checked~main #mese,#scelta-anno:checked~main #anno{display:block}
#scelta-settimana:checked~nav label[for=scelta-settimana],#scelta-mese:checked~nav label[for=scelta-mese],
#scelta-anno:checked~nav label[for=scelta-anno]{background:#1f5fa8;color:#fff}
input.periodo:focus-visible~nav{outline:2px solid #1f5fa8}
table{border-collapse:collapse;width:100%;margin:.3em 0 1em}
th,td{border-bottom:1px solid #ccc;padding:.25em .4em;text-align:left;vertical-align:middle}
th{background:#eef3f9}
td.n,th.n{text-align:right;white-space:nowrap}
td.nome,table.giorno td:nth-child(2),table.giorno td:nth-child(3){overflow-wrap:anywhere}
td.quando,table.giorno td:nth-child(1){white-space:nowrap}
table.giorno td:nth-child(n+4):nth-child(-n+7){text-align:right;white-space:nowrap}
svg.grafico{width:180px;max-width:100%;height:auto;display:block}
svg.grafico polyline{fill:none;stroke:#1f5fa8;stroke-width:1.5}
svg.grafico circle{fill:#1f5fa8}
svg.grafico line.asse{stroke:#999;stroke-width:1}
svg.grafico text{font-size:9px;fill:#555}
.strumenti{margin-top:2em;border-top:1px solid #ccc;padding-top:.5em;color:#333}
@media (max-width:40em){
  table.alunni thead,table.giorno thead{display:none}
  table.alunni tr,table.giorno tr{display:block;border-bottom:1px solid #999;padding:.3em 0}
  table.alunni td,table.giorno td{display:block;border:0;text-align:left}
  table.alunni td::before,table.giorno td::before{font-weight:bold}
  table.alunni td:nth-child(1)::before{content:"Alunno: "}table.alunni td:nth-child(2)::before{content:"Partite: "}
  table.alunni td:nth-child(3)::before{content:"Totale migliore: "}
  table.alunni td:nth-child(4)::before{content:"Ultimo totale: "}
  table.alunni td:nth-child(5)::before{content:"Esatte: "}
  table.alunni td:nth-child(6)::before{content:"Ultima partita: "}
  table.alunni td:nth-child(7)::before{content:"Esatte per partita: "}
  table.giorno td:nth-child(1)::before{content:"Ora: "}table.giorno td:nth-child(2)::before{content:"Alunno: "}
  table.giorno td:nth-child(3)::before{content:"Computer: "}table.giorno td:nth-child(4)::before{content:"Esatte: "}
  table.giorno td:nth-child(5)::before{content:"Errate: "}table.giorno td:nth-child(6)::before{content:"Totali: "}
  table.giorno td:nth-child(7)::before{content:"Durata: "}table.giorno td:nth-child(8)::before{content:"Fine: "}
}
@page{size:A4;margin:14mm}
@media print{
  body{max-width:none;padding:0;font-size:10pt}
  .scelta,.strumenti{display:none}
  tr{break-inside:avoid}
  h2,h3{break-after:avoid}
  th{background:#eee;-webkit-print-color-adjust:exact;print-color-adjust:exact}
}
)css";

std::string Plural(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// kind: "n" for a number, "nome" for a name that may have to break anywhere, "quando" for a
// date or time that never breaks. A narrow window labels each cell by its column, from the style.
std::string Cell(const std::string& content, const char* kind = nullptr)
{
    return std::string(kind ? std::string("<td class=\"") + kind + "\">" : std::string("<td>")) + content + "</td>";
}

std::string PercentText(long long right, long long answers)
{
    const int percent = RightPercent(right, answers);
    return percent < 0 ? "—" : std::to_string(percent) + "%";
}

std::string PupilTable(const std::vector<PupilSummary>& pupils)
{
    std::string html = "<table class=\"alunni\"><thead><tr><th>Alunno</th><th class=\"n\">Partite</th>"
                       "<th class=\"n\">Totale migliore</th><th class=\"n\">Ultimo totale</th>"
                       "<th class=\"n\">Esatte (%)</th><th>Ultima partita</th><th>Esatte per partita</th>"
                       "</tr></thead><tbody>";
    for (const PupilSummary& pupil : pupils) {
        html += "<tr>" + Cell(EscapeHtml(pupil.name), "nome") +
                Cell(std::to_string(pupil.games), "n") +
                Cell(std::to_string(pupil.bestTotal), "n") +
                Cell(std::to_string(pupil.lastTotal), "n") +
                Cell(PercentText(pupil.right, pupil.answers), "n") +
                Cell(DateText(pupil.lastPlayed) + " " + TimeText(pupil.lastPlayed), "quando") +
                Cell(PupilChartSvg(pupil.points)) + "</tr>";
    }
    return html + "</tbody></table>";
}

// Day by day, the latest first; each day's games in the order they were played.
std::string DayTables(const std::vector<PlayedGame>& games)
{
    std::map<Moment, std::vector<const PlayedGame*>> days;
    for (const PlayedGame& game : games) days[{game.when.year, game.when.month, game.when.day}].push_back(&game);
    std::string html;
    for (auto day = days.rbegin(); day != days.rend(); ++day) {
        html += "<h3>" + LongDateText(day->first) + " — " + Plural(day->second.size(), "partita", "partite") +
                "</h3><table class=\"giorno\"><thead><tr><th>Ora</th><th>Alunno</th><th>Computer</th>"
                "<th class=\"n\">Esatte</th><th class=\"n\">Errate</th><th class=\"n\">Totali</th>"
                "<th class=\"n\">Durata</th><th>Fine</th></tr></thead><tbody>";
        for (const PlayedGame* game : day->second) {
            const std::string recordMark = game->setRecord ? " <strong>(record!)</strong>" : "";
            // Styled by column, not cell by cell: a school year's days make a long page.
            html += "<tr>" + Cell(TimeText(game->when)) + Cell(EscapeHtml(game->pupil) + recordMark) +
                    Cell(EscapeHtml(game->computer)) + Cell(std::to_string(game->right)) +
                    Cell(std::to_string(game->wrong)) + Cell(std::to_string(game->total)) +
                    Cell(DurationText(game->seconds)) + Cell(EndingText(game->ending)) +
                    "</tr>";
        }
        html += "</tbody></table>";
    }
    return html;
}

std::string PeriodSection(const Period& period, const std::vector<PlayedGame>& allGames)
{
    const std::vector<PlayedGame> games = GamesFrom(allGames, period.from);
    std::string html = "<section class=\"periodo\" id=\"" + period.id + "\"><h2>" + period.title + " (dal " +
                       DateText(period.from) + ")</h2>";
    if (games.empty()) return html + "<p class=\"vuoto\">Nessuna partita in questo periodo.</p></section>";
    const std::vector<PupilSummary> pupils = SummarizePupils(games, period.from);
    html += "<p class=\"fatti\">" + Plural(games.size(), "partita", "partite") + " di " +
            Plural(pupils.size(), "alunno", "alunni") + ".</p>";
    html += "<h3>Per alunno</h3>" + PupilTable(pupils) + "<h2>Giorno per giorno</h2>" + DayTables(games);
    return html + "</section>";
}

std::string Notices(const RegisterReading& reading)
{
    std::string html;
    if (reading.unreadableLines > 0)
        html += "<p class=\"avviso\" id=\"righe-illeggibili\">Attenzione: " +
                Plural(reading.unreadableLines, "riga del registro non si può leggere",
                       "righe del registro non si possono leggere") +
                " (danneggiate o incomplete). Qui sotto c'è tutto ciò che si può leggere.</p>";
    if (reading.cutShort)
        html += "<p class=\"avviso\">Attenzione: il registro è troppo grande; la sua parte finale non è stata "
                "letta.</p>";
    return html;
}

}  // namespace

std::string RegisterPageHtml(const RegisterReading& reading, const PageFacts& facts)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"it\"><head><meta charset=\"utf-8\">"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                       // Nothing on the page may run or load anything, whatever slipped into the register.
                       "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                       "style-src 'unsafe-inline'\">"
                       "<title>Registro di Brivana</title><style>";
    html += kStyle;
    html += "</style></head><body>";
    const std::array<Period, 3> periods = PeriodsOf(facts.madeAt);
    const bool empty = reading.games.empty();
    if (!empty)
        for (std::size_t i = 0; i < periods.size(); ++i)
            html += "<input type=\"radio\" class=\"periodo\" name=\"periodo\" id=\"scelta-" + periods[i].id + "\"" +
                    (i == kFirstPeriod ? " checked" : "") + ">";
    html += "<header><h1>Registro di Brivana</h1><p class=\"fatti\">" + periods[kFirstPeriod].title +
            ". Pagina fatta il " + DateText(facts.madeAt) + " alle " + TimeText(facts.madeAt) +
            " dal registro " + EscapeHtml(facts.registerPath) + ".</p>" + Notices(reading) + "</header>";
    if (empty) {
        html += "<main><p class=\"vuoto\" id=\"registro-vuoto\">Il registro di quest'anno scolastico non contiene "
                "ancora nessuna partita";
        html += reading.unreadableLines > 0 ? " che si possa leggere." : ": nessun alunno ha ancora giocato.";
        html += "</p></main>";
    } else {
        html += "<nav class=\"scelta\" aria-label=\"Periodo\">";
        for (const Period& period : periods)
            html += "<label for=\"scelta-" + period.id + "\">" + period.title + "</label>";
        html += "</nav><main>";
        for (const Period& period : periods) html += PeriodSection(period, reading.games);
        html += "</main>";
    }
    html += "<footer class=\"strumenti\"><h2>Strumenti</h2><p>Per un foglio di calcolo (LibreOffice Calc, Excel): "
            "<a href=\"" + EscapeHtml(facts.csvFileName) + "\">" + EscapeHtml(facts.csvFileName) + "</a>. "
            "Per stampare: Ctrl+P (si stampa il periodo scelto).</p><p>" + EscapeHtml(facts.clearHint) +
            "</p></footer></body></html>\n";
    return html;
}

}  // namespace brivana::register_page
