#include "register_page/register_files.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "register_page/periods.h"
#include "register_page/register_csv.h"
#include "register_page/register_html.h"
#include "register_page/register_line.h"
#include "register_page/register_reading.h"

namespace brivana::register_page {

namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// Writes beside the file and puts the whole in its place in one step: an open page is never
// half written.
std::string WriteWhole(const std::string& path, const std::string& bytes)
{
    const fs::path target = PathOf(path);
    fs::path temporary = target;
    temporary += ".nuovo";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) return "Non riesco a scrivere il file " + path + ".";
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return "Non riesco a scrivere il file " + path + ".";
    }
    return {};
}

PageFiles Failure(std::string problem) { return {false, {}, std::move(problem)}; }

}  // namespace

PageFiles MakeRegisterFiles(const PageRequest& request)
{
    const int schoolYear = SchoolYearOf(request.now);
    const std::string registerPath = request.recordDir + brivana::RegisterFileName(schoolYear);
    const std::string noRight = "Questo account non ha il permesso di leggere il registro di Brivana (" + registerPath +
                                "). Il registro contiene i risultati degli alunni: lo possono leggere solo gli "
                                "insegnanti che l'amministratore del computer ha indicato.";
    RegisterReading reading;
    std::error_code error;
    const fs::file_status status = fs::status(PathOf(registerPath), error);
    if (error && error != std::errc::no_such_file_or_directory) return Failure(noRight);
    if (fs::exists(status)) {
        // Anything but a plain file (a folder, a pipe that would never end) is not a register.
        if (!fs::is_regular_file(status))
            return Failure("Il registro di Brivana " + registerPath + " non è un file: non posso leggerlo.");
        std::ifstream in(PathOf(registerPath), std::ios::binary);
        if (!in) return Failure(noRight);
        reading = ReadRegister(in, GameOfRegisterLine);
    }
    // A register not made yet is an empty one: nobody has played this school year.

    const std::string baseName = "registro-" + std::to_string(schoolYear) + "-" + std::to_string(schoolYear + 1);
    fs::create_directories(PathOf(request.outputDir), error);
    // The pupils' results stay the teacher's: nobody else may look into this folder.
    fs::permissions(PathOf(request.outputDir), fs::perms::owner_all, error);
    if (!fs::is_directory(PathOf(request.outputDir)))
        return Failure("Non riesco a creare la cartella " + request.outputDir + " per la pagina del registro.");

    const PageFacts facts{request.now, registerPath, baseName + ".csv", request.clearHint};
    const std::string pagePath = request.outputDir + baseName + ".html";
    std::string problem = WriteWhole(request.outputDir + baseName + ".csv", RegisterCsv(reading.games));
    if (problem.empty()) problem = WriteWhole(pagePath, RegisterPageHtml(reading, facts));
    if (!problem.empty()) return Failure(problem);
    return {true, pagePath, {}};
}

}  // namespace brivana::register_page
