#include "system/register_answers.h"

#include "game/keeper_requests.h"
#include "game/register_store.h"
#include "system/register_stamps.h"

namespace brivana {

RegisterResult StampResult(const std::string& resultFields, RegisterLine& line)
{
    const auto result = DecodeResultFields(resultFields);
    if (!result) return {false, "Il risultato da scrivere nel registro non è quello di una partita: non lo scrivo."};
    SystemRegisterStamps stamps;
    line = StampedLine(stamps, *result);
    return {true, {}};
}

RegisterResult AnswerAppend(const std::string& resultFields, const std::string& sharedDir, FileAccess& files)
{
    RegisterLine line;
    const RegisterResult stamped = StampResult(resultFields, line);
    return stamped.done ? RegisterStore(files, sharedDir).Append(line) : stamped;
}

RegisterResult AnswerClear(const std::string& schoolYear, const std::string& sharedDir, bool teacher,
                           FileAccess& files)
{
    if (!teacher)
        return {false, "Solo un docente (un utente del gruppo dei docenti di Brivana) può svuotare il registro."};
    const auto year = SchoolYearOfRequest(schoolYear);
    if (!year) return {false, "L'anno scolastico da svuotare non è valido."};
    return RegisterStore(files, sharedDir).Clear(*year);
}

}  // namespace brivana
