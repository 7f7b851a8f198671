// Makes the teacher's page and spreadsheet file from the register in a folder, as if on a given
// day: the browser and spreadsheet checks, and the README's screenshot, look at what it writes.
// make_register_page RECORD_DIR OUTPUT_DIR "YYYY-MM-DD HH:MM"
#include <cstdio>
#include <string>

#include "register_page/register_files.h"

int main(int argc, char* argv[])
{
    brivana::register_page::Moment now;
    if (argc != 4 || std::sscanf(argv[3], "%d-%d-%d %d:%d", &now.year, &now.month, &now.day, &now.hour,
                                 &now.minute) != 5) {
        std::fprintf(stderr, "uso: make_register_page CARTELLA_REGISTRO CARTELLA_PAGINA \"AAAA-MM-GG HH:MM\"\n");
        return 2;
    }
    const brivana::register_page::PageFiles files = brivana::register_page::MakeRegisterFiles(
        {std::string(argv[1]) + "/", std::string(argv[2]) + "/", now, "Per cancellare: brivana --registro --cancella"});
    if (!files.made) {
        std::fprintf(stderr, "%s\n", files.problem.c_str());
        return 1;
    }
    std::printf("%s\n", files.pagePath.c_str());
    return 0;
}
