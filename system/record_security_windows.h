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

#include "system/owned_handle_windows.h"

namespace brivana {

// The security identifier Windows gives the service named serviceName ("NT SERVICE\<name>"), as
// "S-1-5-80-...": it is derived from the name alone, so that it is known before the service exists.
std::string ServiceSid(const std::wstring& serviceName);

// The folder's whole descriptor, as the installer applies it, and its access list alone, as the
// service applies it again at each start (it may not give the folder an owner other than itself).
std::wstring RecordFolderSddl(const std::string& serviceSid);
std::wstring RecordFolderAccessSddl(const std::string& serviceSid);
std::wstring RecordPipeSddl(const std::string& serviceSid);

// Makes sddl the access list of dir and of everything in it, which then only inherits from dir,
// and its owner when sddl names one (which needs an administrator). Empty when done, otherwise
// why not, in Italian.
std::string SecureRecordFolder(const std::string& dir, const std::wstring& sddl);

// The owner and the access list of the object behind handle, as SDDL; empty when unreadable.
std::wstring SecurityOf(HANDLE handle);
std::wstring SecurityOf(const std::string& path);
// The owner of the object behind handle, as "S-1-..."; empty when unreadable.
std::string OwnerOf(HANDLE handle);
// The user of the client connected to the pipe instance, as "S-1-...", read from its access
// token; empty when the client allows no identification or nothing was read.
std::string PipeClientUser(HANDLE connected);

// Security attributes built from an SDDL string, for the objects this program creates.
class SecurityAttributes {
public:
    explicit SecurityAttributes(const std::wstring& sddl);
    SecurityAttributes(const SecurityAttributes&) = delete;
    SecurityAttributes& operator=(const SecurityAttributes&) = delete;
    // Nothing when the string did not convert.
    SECURITY_ATTRIBUTES* get() { return descriptor_ ? &attributes_ : nullptr; }

private:
    OwnedLocal<PSECURITY_DESCRIPTOR> descriptor_;
    SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

}  // namespace brivana
