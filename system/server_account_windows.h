#pragma once
// The account of the school's file server that the record service uses where there is no domain
// (a workgroup with a NAS): kept encrypted for this computer (DPAPI) in the service's own folder,
// which no user may open, and used only by the service to connect to the lab's share.

#include <string>

namespace brivana {

inline constexpr const char* kServerAccountFileName = "account-server.dat";

// Keeps user and password in dir (the service's folder), replacing any kept before. Needs an
// administrator. Empty when done, otherwise why not, in Italian.
std::string KeepServerAccount(const std::string& dir, const std::string& user, const std::string& password);

// Connects this process's logon session to the share of labDir (\\server\share\...) with the
// account kept in dir. Empty when done or when no account is kept, otherwise why not, in Italian.
std::string ConnectWithServerAccount(const std::string& dir, const std::string& labDir);

}  // namespace brivana
