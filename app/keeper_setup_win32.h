#pragma once
// Registers the record service with Windows and removes it, for the installer.

#include <string>

namespace brivana {

// Makes the shared record folder the service's alone, registers this executable as the service
// (under the virtual account NT SERVICE\BrivanaKeeper, started with Windows) and starts it.
// Run again, brings an existing registration up to date. The members of teachersGroup (a local
// or domain group, by name or "S-1-..."; the administrators when empty) may read the register.
// Empty when done, otherwise why not.
std::string InstallRecordService(const std::string& teachersGroup);
// Stops and removes the service; the record folder stays. No service is no failure.
std::string RemoveRecordService();

}  // namespace brivana
