#include "spooler/PortsPrinters.h"

#include "platform/cups/CupsSpooler.h"

#include <algorithm>

namespace krn310 {

namespace {

constexpr char kFilePortText[] = "FILE:";

} // namespace

CPortsPrinters::CPortsPrinters(bool IncludeConnections)
    : ownSpooler_(std::make_unique<TCupsSpooler>())
    , spooler_(*ownSpooler_)
{
    TakeSnapshot(IncludeConnections);
}

CPortsPrinters::CPortsPrinters(bool IncludeConnections, ISpooler& spooler)
    : spooler_(spooler)
{
    TakeSnapshot(IncludeConnections);
}

CPortsPrinters::~CPortsPrinters() = default;

void CPortsPrinters::TakeSnapshot(bool includeConnections)
{
    std::vector<TSpoolerPrinter> printers;
    if (!spooler_.ListPrinters(includeConnections, printers))
        return;
    for (const TSpoolerPrinter& printer : printers)
        portPrinters_[printer.Port].Printers.push_back(printer.Name);
}

void CPortsPrinters::ReleasePort(const std::string& port)
{
    const auto entry = portPrinters_.find(port);
    if (entry == portPrinters_.end() || entry->second.Released)
        return;
    RebindRecorded(entry->second, kFilePortText);
    entry->second.Released = true;
}

void CPortsPrinters::RestorePort(const std::string& port)
{
    const auto entry = portPrinters_.find(port);
    if (entry == portPrinters_.end() || !entry->second.Released)
        return;
    // The key is the port text the printers had, so each gets exactly it back.
    RebindRecorded(entry->second, entry->first);
    entry->second.Released = false;
}

void CPortsPrinters::RebindRecorded(const TPrintersList& list, const std::string& port)
{
    // Enumerated anew: printers removed since the snapshot are skipped, and
    // printers added since are not in the list.
    std::vector<TSpoolerPrinter> current;
    if (!spooler_.ListPrinters(false, current))
        current.clear();
    for (const TSpoolerPrinter& printer : current) {
        if (std::find(list.Printers.begin(), list.Printers.end(), printer.Name) != list.Printers.end())
            SetPrinterPort(printer.Name, port);
    }
}

void CPortsPrinters::SetPrinterPort(const std::string& name, const std::string& port)
{
    // A printer that cannot be read or changed keeps its port; the others go on.
    spooler_.SetPrinterPort(name, port);
}

void RestoreJournalledPrinters()
{
    TCupsSpooler().RestoreJournalledQueues();
}

} // namespace krn310
