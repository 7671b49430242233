#pragma once

#include "platform/cups/Spooler.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace krn310 {

// The printers recorded under one port text.
struct TPrintersList {
    bool Released = false;              // rebound to "FILE:" by this instance
    std::vector<std::string> Printers;  // in the spooler's order at construction
};

// Keeps the print queues off a serial port while the program holds it: a
// snapshot, taken at construction, of which printers are bound to which port
// text, and the operations that rebind the printers of one port to "FILE:"
// and back. Port texts are matched byte by byte, case-sensitive; the snapshot
// is never refreshed. Nothing is reported: a printer that cannot be changed
// is skipped.
class CPortsPrinters {
public:
    // Over the system's spooler. The program passes false.
    explicit CPortsPrinters(bool IncludeConnections);
    // Over the given spooler, which must outlive the instance.
    CPortsPrinters(bool IncludeConnections, ISpooler& spooler);
    // Frees the snapshot; makes no spooler call.
    ~CPortsPrinters();

    CPortsPrinters(const CPortsPrinters&) = delete;
    CPortsPrinters& operator=(const CPortsPrinters&) = delete;

    void ReleasePort(const std::string& port);
    void RestorePort(const std::string& port);

    const std::map<std::string, TPrintersList>& PortPrinters() const { return portPrinters_; }

private:
    void TakeSnapshot(bool includeConnections);
    void RebindRecorded(const TPrintersList& list, const std::string& port);
    void SetPrinterPort(const std::string& name, const std::string& port);

    std::unique_ptr<ISpooler> ownSpooler_;
    ISpooler& spooler_;
    std::map<std::string, TPrintersList> portPrinters_;
};

// Called once at start-up: gives the queues that an earlier run of the program
// left on "FILE:" (it was killed while it held their port) their old binding
// back.
void RestoreJournalledPrinters();

} // namespace krn310
