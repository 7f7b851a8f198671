#pragma once
// Who may read the teachers' register on Windows, and who may clear it: the system, the
// administrators and the record service have full control of a register file; the teachers'
// group, named when the game is installed (the administrators when none is), may only read it.

#include <windows.h>

#include <string>

namespace brivana {

inline constexpr const char* kAdministratorsSid = "S-1-5-32-544";

// The owner is left to the service that creates the file; nothing is inherited from the folder.
std::wstring RegisterFileSddl(const std::string& serviceSid, const std::string& teachersSid);

// The security identifier, as "S-1-...", of an account or group name ("Docenti", "SCUOLA\Docenti")
// or of a text that is one already; empty when Windows knows no such account.
std::string AccountSid(const std::string& name);

// Whether the client at the other end of pipe belongs to the group teachersSid or to the
// administrators (only with the rights an elevated program has, as Windows counts membership).
bool PipeClientIsTeacher(HANDLE pipe, const std::string& teachersSid);

// The teachers' group the installed service was registered with: "--docenti=S-..." on its command
// line; the administrators when there is none.
std::string TeachersSidOfCommandLine();

}  // namespace brivana
