#pragma once
// Who may do what with the installed game's shared record folder and with the record service's
// pipe, written as security descriptor strings (SDDL), and the few calls that apply and read them.
// The folder: the system, the administrators and the record service have full control; every
// other user may only list it, so that nobody but the service can open a record file at all (a
// file a player could read, he could also hold open and so stop every save). Nothing is
// inherited from above. The pipe: owned by the service; interactive users may connect to it but
// not create an instance of their own.

#include <windows.h>

#include <string>

namespace brivana {

// The security identifier Windows gives the service named serviceName ("NT SERVICE\<name>"), as
// "S-1-5-80-...": it is derived from the name alone, so that it is known before the service exists.
std::string ServiceSid(const std::wstring& serviceName);

std::wstring RecordFolderSddl(const std::string& serviceSid);
std::wstring RecordPipeSddl(const std::string& serviceSid);

// Makes sddl the owner and the access list of dir and of everything in it, which then only
// inherits from dir. Needs an administrator. Empty when done, otherwise why not, in Italian.
std::string SecureRecordFolder(const std::string& dir, const std::wstring& sddl);

// The owner and the access list of the object behind handle, as SDDL; empty when unreadable.
std::wstring SecurityOf(HANDLE handle);
std::wstring SecurityOf(const std::string& path);
// The owner of the object behind handle, as "S-1-..."; empty when unreadable.
std::string OwnerOf(HANDLE handle);

// Security attributes built from an SDDL string, for the objects this program creates.
class SecurityAttributes {
public:
    explicit SecurityAttributes(const std::wstring& sddl);
    ~SecurityAttributes();
    SecurityAttributes(const SecurityAttributes&) = delete;
    SecurityAttributes& operator=(const SecurityAttributes&) = delete;
    // Nothing when the string did not convert.
    SECURITY_ATTRIBUTES* get() { return attributes_.lpSecurityDescriptor ? &attributes_ : nullptr; }

private:
    SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

}  // namespace brivana
