#pragma once
// The application object "ORVBook.Application" that scripts and other programs reach on the
// session bus: the names it is found by, and which clients hold the program. A hold keeps the
// program alive and makes closing the main window only hide it; it ends with the client's
// Release or when the client leaves the bus.

#include <cstddef>
#include <map>
#include <string>

namespace orv {

inline constexpr const char* kAutomationInterface = "org.orvbook.ORVBook.Application";
inline constexpr const char* kAutomationObjectPath = "/org/orvbook/ORVBook/Application";

// The bus name of the reader that runs on the application folder appPath (a program path):
// one name per folder, so a second start for the same folder finds the first and two readers
// on different folders do not meet.
std::string AutomationBusName(const std::string& appPath);

class AutomationHolds {
public:
    // Each Hold of a client needs its own Release.
    void Hold(const std::string& client);
    // False when the client held nothing.
    bool Release(const std::string& client);
    // The client left the bus: its holds end with it.
    void ClientLeft(const std::string& client);

    bool Any() const { return !m_holds.empty(); }
    std::size_t Count(const std::string& client) const;

private:
    std::map<std::string, std::size_t> m_holds;
};

} // namespace orv
