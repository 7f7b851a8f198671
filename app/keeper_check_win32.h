#pragma once
// The administrator's check of a computer (brivana-keeper verifica): the record service itself,
// with its own identity on the network, looks where it keeps the record and whether it can read
// and write there, and writes what it found for the administrator's command to show.

#include <string>

namespace brivana {

// The service control that asks the running service for the check.
inline constexpr unsigned long kRecordCheckControl = 200;

// In the service: probes own (its folder here) and lab (the lab's on the server; empty when none),
// and writes the report, in Italian, as verifica.txt in own.
void WriteRecordCheck(const std::string& own, const std::string& lab, const std::string& settingProblem);

// For the administrator: asks the running service for the check and prints its report. 0 when
// the service can keep the record where it should, 1 otherwise.
int AskRecordCheck();

}  // namespace brivana
