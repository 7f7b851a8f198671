#pragma once
// Registers the record service with Windows and removes it, for the installer.

#include <string>

namespace brivana {

// Makes the shared record folder the service's alone, registers this executable as the service
// (under the virtual account NT SERVICE\BrivanaKeeper, started with Windows) and starts it.
// Run again, brings an existing registration up to date. Empty when done, otherwise why not.
std::string InstallRecordService();
// Stops and removes the service; the record folder stays. No service is no failure.
std::string RemoveRecordService();

}  // namespace brivana
