#pragma once

#include "platform/cups/ReleaseJournal.h"
#include "platform/cups/Spooler.h"

namespace krn310 {

// The print spooler of this system: the CUPS server that libcups finds
// (CUPS_SERVER, client.conf, the local socket), asked through IPP. A queue
// moved to "FILE:" is journalled with its device URI before the change, and
// gets that URI back when it returns to its port.
class TCupsSpooler : public ISpooler {
public:
    explicit TCupsSpooler(std::string journalPath = DefaultJournalPath());

    bool ListPrinters(bool includeConnections, std::vector<TSpoolerPrinter>& printers) override;
    bool SetPrinterPort(const std::string& name, const std::string& port) override;

    // At start-up: every queue journalled by a process that is gone and still
    // on the null device gets its original URI back; the journal keeps only
    // what could not be settled (the server unreachable, a refused change).
    void RestoreJournalledQueues();

private:
    TReleaseJournal journal_;
};

} // namespace krn310
