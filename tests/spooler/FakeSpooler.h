#pragma once

#include "platform/cups/Spooler.h"

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace krn310::test {

// A spooler in memory that records what is asked of it.
class TFakeSpooler : public ISpooler {
public:
    std::vector<TSpoolerPrinter> Printers;     // the local printers
    std::vector<TSpoolerPrinter> Connections;  // listed only when connections are asked for
    std::set<std::string> Unreadable;          // printers whose information cannot be read
    bool ListFails = false;

    std::vector<bool> ListCalls;                              // includeConnections of each listing
    std::vector<std::pair<std::string, std::string>> Writes;  // (printer, port) written

    bool ListPrinters(bool includeConnections, std::vector<TSpoolerPrinter>& printers) override
    {
        ListCalls.push_back(includeConnections);
        printers.clear();
        if (ListFails)
            return false;
        printers = Printers;
        if (includeConnections)
            printers.insert(printers.end(), Connections.begin(), Connections.end());
        return true;
    }

    bool SetPrinterPort(const std::string& name, const std::string& port) override
    {
        if (Unreadable.count(name))
            return false;
        const auto printer = std::find_if(Printers.begin(), Printers.end(),
                                          [&](const TSpoolerPrinter& p) { return p.Name == name; });
        if (printer == Printers.end())
            return false;
        printer->Port = port;
        Writes.emplace_back(name, port);
        return true;
    }

    void Remove(const std::string& name)
    {
        std::erase_if(Printers, [&](const TSpoolerPrinter& p) { return p.Name == name; });
    }
};

} // namespace krn310::test
