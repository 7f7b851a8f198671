#include "system/register_security_windows.h"

#include <sddl.h>
#include <shellapi.h>

#include <cstdlib>

#include "system/owned_handle_windows.h"
#include "system/wide_text_windows.h"

namespace brivana {

namespace {

Owned<PSID, LocalFree> SidOf(const std::string& sid)
{
    PSID binary = nullptr;
    if (!ConvertStringSidToSidW(Wide(sid).c_str(), &binary)) return {};
    return Owned<PSID, LocalFree>(binary);
}

bool IsMember(HANDLE token, const std::string& sid)
{
    const auto binary = SidOf(sid);
    BOOL member = FALSE;
    return binary && CheckTokenMembership(token, binary.get(), &member) && member;
}

}  // namespace

std::wstring RegisterFileSddl(const std::string& serviceSid, const std::string& teachersSid)
{
    // FA: full control; FR: read the file and its attributes, nothing more.
    std::wstring sddl = L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FA;;;";
    sddl.append(Wide(serviceSid)).append(L")");
    if (teachersSid != kAdministratorsSid) sddl.append(L"(A;;FR;;;").append(Wide(teachersSid)).append(L")");
    return sddl;
}

std::string AccountSid(const std::string& name)
{
    if (name.rfind("S-1-", 0) == 0) return SidOf(name) ? name : std::string();
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use{};
    const std::wstring wide = Wide(name);
    LookupAccountNameW(nullptr, wide.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0) return {};
    std::string sid(sidSize, '\0');
    std::wstring domain(domainSize, L'\0');
    if (!LookupAccountNameW(nullptr, wide.c_str(), sid.data(), &sidSize, domain.data(), &domainSize, &use)) return {};
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(sid.data(), &text)) return {};
    const Owned<LPWSTR, LocalFree> owned(text);
    return Utf8(text);
}

bool PipeClientIsTeacher(HANDLE pipe, const std::string& teachersSid)
{
    // The client connects for identification only: enough to read its groups, never to act as it.
    if (!ImpersonateNamedPipeClient(pipe)) return false;
    HANDLE token = nullptr;
    const BOOL opened = OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token);
    // Back to the service's own rights before anything else; a service that cannot is stopped.
    if (!RevertToSelf()) std::abort();
    if (!opened) return false;
    const Owned<HANDLE, CloseHandle> owned(token);
    return IsMember(token, teachersSid) || IsMember(token, kAdministratorsSid);
}

std::string TeachersSidOfCommandLine()
{
    int count = 0;
    const Owned<LPWSTR*, LocalFree> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    const std::wstring prefix = L"--docenti=";
    for (int i = 1; arguments && i < count; ++i) {
        const std::wstring argument = arguments.get()[i];
        if (argument.rfind(prefix, 0) == 0) {
            const std::string sid = Utf8(argument.substr(prefix.size()));
            if (SidOf(sid)) return sid;
        }
    }
    return kAdministratorsSid;
}

}  // namespace brivana
