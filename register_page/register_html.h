#pragma once
// The teacher's page: one self-contained HTML file, in Italian, made from the register alone.
// It needs no network and no script: the period is picked with radio buttons that CSS obeys,
// so it reads the same from a file, in any browser, and on paper (A4).

#include <string>

#include "register_page/register_reading.h"

namespace brivana::register_page {

struct PageFacts {
    Moment madeAt;            // the periods count back from here
    std::string registerPath;  // shown to the teacher
    std::string csvFileName;   // the spreadsheet file beside the page
    std::string clearHint;     // how a school year is cleared on this system, in Italian
};

std::string RegisterPageHtml(const RegisterReading& reading, const PageFacts& facts);

}  // namespace brivana::register_page
