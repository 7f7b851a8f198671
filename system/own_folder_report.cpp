#include "system/own_folder_report.h"

#include "game/lab_memory.h"
#include "game/waiting_register.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"

namespace brivana {

std::string OwnFolderReport(const std::string& own, bool& usable)
{
    usable = CanKeepRecordsIn(own);
    std::string report = "Cartella del custode su questo computer: " + own + " (" +
                         (usable ? "può scriverci"
                                 : "NON può scriverci: i punteggi e le partite in attesa del server andrebbero persi") +
                         ")\n";
    if (!usable) return report;
    SystemFileAccess files;
    LabMemory memory;
    if (const IoStatus status = LabMemoryFile(files, own).load(memory); !status.ok())
        report += "Punteggio in attesa del server: NON leggibile: " + status.why + "\n";
    else
        report += "Punteggio in attesa del server: " +
                  (memory.pending ? memory.pending->score + " di \"" + memory.pending->holder + "\"" : "nessuno") + "\n";
    WaitingLines games;
    if (const IoStatus status = WaitingRegister(files, own).waiting(games); !status.ok())
        report += "Partite in attesa del registro della classe: NON leggibili: " + status.why + "\n";
    else
        report += "Partite in attesa del registro della classe: " + std::to_string(games.size()) + "\n";
    return report;
}

}  // namespace brivana
