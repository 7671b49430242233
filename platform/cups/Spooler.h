#pragma once

#include <string>
#include <vector>

namespace krn310 {

// One printer as the spooler lists it: its name and its port field, both
// 8-bit text exactly as the spooler reports them.
struct TSpoolerPrinter {
    std::string Name;
    std::string Port;

    bool operator==(const TSpoolerPrinter&) const = default;
};

// The two operations the port release needs from the system's print spooler.
class ISpooler {
public:
    virtual ~ISpooler() = default;

    // The local printers (and the printer connections when asked), in the
    // spooler's order. False when they cannot be listed; a printer whose
    // information cannot be read is left out.
    virtual bool ListPrinters(bool includeConnections, std::vector<TSpoolerPrinter>& printers) = 0;

    // Binds one printer, found by its exact name, to the given port field.
    // False when the printer cannot be read or the change is refused; nothing
    // is written for a printer that cannot be read.
    virtual bool SetPrinterPort(const std::string& name, const std::string& port) = 0;
};

} // namespace krn310
