#include "app/teacher_register.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "register_page/periods.h"
#include "register_page/register_files.h"
#include "system/local_time.h"
#include "system/open_in_browser.h"
#include "system/teacher_page_folder.h"

namespace brivana {

namespace {

constexpr const char* kTitle = "Registro di Brivana";

register_page::Moment Now()
{
    const std::tm local = LocalTime(std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()));
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

int Tell(Dialogs& dialogs, const std::string& text, int style)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    dialogs.messageBox(nullptr, text, style, kTitle);
    return style == MsgStyle::ok ? 0 : 1;
}

std::string SchoolYearText(int year) { return std::to_string(year) + "/" + std::to_string(year + 1); }

// The year after --cancella, or the current school year's when none is given; 0 when it is not a year.
int YearToClear(const std::vector<std::string>& arguments, const register_page::Moment& now)
{
    const auto clear = std::find(arguments.begin(), arguments.end(), "--cancella");
    if (clear + 1 == arguments.end()) return register_page::SchoolYearOf(now);
    const std::string& text = *(clear + 1);
    if (text.size() != 4 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::stoi(text);
}

int ClearYear(const std::vector<std::string>& arguments, RegisterCommandServices& services)
{
    const int year = YearToClear(arguments, Now());
    if (year < kFirstSchoolYear || year > kLastSchoolYear)
        return Tell(services.dialogs,
                    "Scrivi l'anno in cui è cominciato l'anno scolastico da cancellare, per esempio: " +
                        services.clearCommand + " " + std::to_string(register_page::SchoolYearOf(Now())) + ".",
                    MsgStyle::okExclamation);
    const MsgAnswer answer = services.dialogs.messageBox(
        nullptr,
        "Vuoi cancellare per sempre il registro dell'anno scolastico " + SchoolYearText(year) +
            "?\nI risultati delle partite di quell'anno non si potranno più vedere.",
        MsgStyle::yesNoQuestionDefaultNo, kTitle);
    if (answer != MsgAnswer::yes) return 0;
    const RegisterResult cleared = services.keeper.clearSchoolYear(services.recordDir, year);
    if (!cleared.done)
        return Tell(services.dialogs,
                    "Il registro dell'anno scolastico " + SchoolYearText(year) + " non è stato cancellato.\n" +
                        cleared.why,
                    MsgStyle::okExclamation);
    return Tell(services.dialogs, "Il registro dell'anno scolastico " + SchoolYearText(year) + " è stato cancellato.",
                MsgStyle::ok);
}

}  // namespace

bool AsksForRegister(const std::vector<std::string>& arguments)
{
    return std::find(arguments.begin(), arguments.end(), "--registro") != arguments.end();
}

int RunRegisterCommand(const std::vector<std::string>& arguments, RegisterCommandServices& services)
{
    if (std::find(arguments.begin(), arguments.end(), "--cancella") != arguments.end())
        return ClearYear(arguments, services);

    const register_page::Moment now = Now();
    const std::string hint = "Per cancellare il registro di un anno scolastico (con una conferma): " +
                             services.clearCommand + " ANNO, per esempio " + services.clearCommand + " " +
                             std::to_string(register_page::SchoolYearOf(now)) + ".";
    const std::string folder = TeacherPageFolder();
    if (folder.empty())
        return Tell(services.dialogs, "Non trovo una cartella personale in cui scrivere la pagina del registro.",
                    MsgStyle::okExclamation);
    const register_page::PageFiles files = register_page::MakeRegisterFiles({services.registerDir, folder, now, hint});
    if (!files.made) return Tell(services.dialogs, files.problem, MsgStyle::okExclamation);
    const std::string problem = OpenInBrowser(files.pagePath);
    if (!problem.empty()) return Tell(services.dialogs, problem, MsgStyle::okExclamation);
    return 0;
}

}  // namespace brivana
