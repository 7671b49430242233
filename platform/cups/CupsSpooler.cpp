#include "platform/cups/CupsSpooler.h"

#include "platform/cups/CupsLibrary.h"
#include "platform/cups/CupsPortField.h"

#include <memory>
#include <optional>
#include <string_view>

namespace krn310 {

namespace {

constexpr int kConnectTimeoutMs = 5000;
// The spooler is asked on the user-interface thread: a server that stops
// answering must not hold the program for long.
constexpr double kReplyTimeoutSeconds = 10.0;

// Only ever called behind a live TCupsConnection, which exists only once
// the library has been loaded.
const TCupsLibrary& Cups()
{
    return *CupsLibrary();
}

struct TIppDeleter {
    void operator()(ipp_t* ipp) const { Cups().ippDelete(ipp); }
};
using TIpp = std::unique_ptr<ipp_t, TIppDeleter>;

// No password prompt: the program has no terminal, and a spooler change
// that needs more rights than the user has is skipped.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*)
{
    return nullptr;
}

class TCupsConnection {
public:
    TCupsConnection()
    {
        // Without libcups there is no spooler to speak to: the connection
        // stays closed, as with a server that cannot be reached.
        if (!CupsLibrary())
            return;
        const TCupsLibrary& cups = Cups();
        cups.cupsSetPasswordCB2(NoPassword, nullptr);
        http_ = cups.httpConnect2(cups.cupsServer(), cups.ippPort(), nullptr, AF_UNSPEC, cups.cupsEncryption(), 1,
                                  kConnectTimeoutMs, nullptr);
        if (http_)
            cups.httpSetTimeout(http_, kReplyTimeoutSeconds, nullptr, nullptr);
    }
    ~TCupsConnection()
    {
        if (http_)
            Cups().httpClose(http_);
    }
    TCupsConnection(const TCupsConnection&) = delete;
    TCupsConnection& operator=(const TCupsConnection&) = delete;

    explicit operator bool() const { return http_ != nullptr; }

    // Sends the request and takes the reply, with its status; a null reply
    // when the server cannot be reached.
    TIpp Ask(ipp_t* request, const char* resource, ipp_status_t& status)
    {
        TIpp reply(Cups().cupsDoRequest(http_, request, resource));
        status = reply ? Cups().ippGetStatusCode(reply.get()) : IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
        return reply;
    }

private:
    http_t* http_ = nullptr;
};

bool Succeeded(ipp_status_t status)
{
    return status <= IPP_STATUS_OK_CONFLICTING;
}

// A request with its operation attributes, which must come before any other.
ipp_t* NewRequest(ipp_op_t operation, const std::string& printer = {})
{
    ipp_t* request = Cups().ippNewRequest(operation);
    if (!printer.empty()) {
        char uri[HTTP_MAX_URI];
        Cups().httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                                printer.c_str());
        Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    }
    Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, Cups().cupsUser());
    return request;
}

std::string StringOf(ipp_attribute_t* attr)
{
    const char* text = attr ? Cups().ippGetString(attr, 0, nullptr) : nullptr;
    return text ? text : "";
}

bool IsRemote(ipp_attribute_t* type)
{
    return type && (Cups().ippGetInteger(type, 0) & CUPS_PRINTER_REMOTE) != 0;
}

const char* const kPrinterAttributes[] = {"printer-name", "device-uri", "printer-type"};

void AskForPrinterAttributes(ipp_t* request)
{
    Cups().ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                         static_cast<int>(std::size(kPrinterAttributes)), nullptr, kPrinterAttributes);
}

struct TQueueRead {
    enum { Found, Missing, Failed } Outcome = Failed;
    std::string DeviceUri;
};

TQueueRead ReadDeviceUri(TCupsConnection& cups, const std::string& name)
{
    ipp_t* request = NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, name);
    AskForPrinterAttributes(request);
    ipp_status_t status;
    TIpp reply = cups.Ask(request, "/", status);
    if (status == IPP_STATUS_ERROR_NOT_FOUND)
        return {TQueueRead::Missing, {}};
    if (!reply || !Succeeded(status))
        return {};

    ipp_t* answer = reply.get();
    // CUPS finds queue names regardless of case; the release matches them exactly.
    if (StringOf(Cups().ippFindAttribute(answer, "printer-name", IPP_TAG_NAME)) != name)
        return {TQueueRead::Missing, {}};
    ipp_attribute_t* uri = Cups().ippFindAttribute(answer, "device-uri", IPP_TAG_URI);
    if (!uri || IsRemote(Cups().ippFindAttribute(answer, "printer-type", IPP_TAG_ENUM)))
        return {};
    return {TQueueRead::Found, StringOf(uri)};
}

bool WriteDeviceUri(TCupsConnection& cups, const std::string& name, const std::string& uri)
{
    ipp_t* request = NewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER, name);
    Cups().ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, uri.c_str());
    ipp_status_t status;
    cups.Ask(request, "/admin/", status);
    return Succeeded(status);
}

} // namespace

TCupsSpooler::TCupsSpooler(std::string journalPath)
    : journal_(std::move(journalPath))
{
}

bool TCupsSpooler::ListPrinters(bool includeConnections, std::vector<TSpoolerPrinter>& printers)
{
    printers.clear();
    TCupsConnection cups;
    if (!cups)
        return false;

    ipp_t* request = NewRequest(IPP_OP_CUPS_GET_PRINTERS);
    AskForPrinterAttributes(request);
    if (!includeConnections) {
        Cups().ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_ENUM, "printer-type", 0);
        Cups().ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_ENUM, "printer-type-mask", CUPS_PRINTER_REMOTE);
    }
    ipp_status_t status;
    TIpp reply = cups.Ask(request, "/", status);
    if (status == IPP_STATUS_ERROR_NOT_FOUND)
        return true;  // no queues at all
    if (!reply || !Succeeded(status))
        return false;

    // The printers come as groups of printer attributes between separators.
    ipp_attribute_t* attr = Cups().ippFirstAttribute(reply.get());
    while (attr) {
        if (Cups().ippGetGroupTag(attr) != IPP_TAG_PRINTER) {
            attr = Cups().ippNextAttribute(reply.get());
            continue;
        }
        const char* name = nullptr;
        const char* uri = nullptr;
        for (; attr && Cups().ippGetGroupTag(attr) == IPP_TAG_PRINTER; attr = Cups().ippNextAttribute(reply.get())) {
            const char* attrName = Cups().ippGetName(attr);
            if (!attrName)
                continue;
            if (std::string_view(attrName) == "printer-name" && Cups().ippGetValueTag(attr) == IPP_TAG_NAME)
                name = Cups().ippGetString(attr, 0, nullptr);
            else if (std::string_view(attrName) == "device-uri" && Cups().ippGetValueTag(attr) == IPP_TAG_URI)
                uri = Cups().ippGetString(attr, 0, nullptr);
        }
        if (name && uri)
            printers.push_back({name, PortFieldOfDeviceUri(uri)});
    }
    return true;
}

bool TCupsSpooler::SetPrinterPort(const std::string& name, const std::string& port)
{
    TCupsConnection cups;
    if (!cups)
        return false;
    const TQueueRead current = ReadDeviceUri(cups, name);
    if (current.Outcome != TQueueRead::Found)
        return false;

    if (PortFieldOfDeviceUri(current.DeviceUri) == port) {
        if (port != kFilePort)
            journal_.Forget(name);
        return true;
    }

    if (port == kFilePort) {
        // Journalled first: a program killed after the change still knows
        // where the queue belongs.
        if (!journal_.Record(name, current.DeviceUri))
            return false;
        if (!WriteDeviceUri(cups, name, kNullDeviceUri)) {
            journal_.Forget(name);
            return false;
        }
        return true;
    }

    const std::string uri = DeviceUriForPortField(port, journal_.OriginalUri(name).value_or(std::string()));
    if (!WriteDeviceUri(cups, name, uri))
        return false;
    journal_.Forget(name);
    return true;
}

void TCupsSpooler::RestoreJournalledQueues()
{
    // Opened only when the journal has something to settle: most starts
    // find it empty and need not speak to the server at all.
    std::optional<TCupsConnection> cups;
    journal_.ReplayDead([&](const TJournalEntry& entry) {
        if (!cups)
            cups.emplace();
        if (!*cups)
            return false;
        const TQueueRead current = ReadDeviceUri(*cups, entry.Printer);
        if (current.Outcome == TQueueRead::Missing)
            return true;
        if (current.Outcome == TQueueRead::Failed)
            return false;
        // Rebound by someone else meanwhile: not ours to change any more.
        if (PortFieldOfDeviceUri(current.DeviceUri) != kFilePort)
            return true;
        return WriteDeviceUri(*cups, entry.Printer, entry.DeviceUri);
    });
}

} // namespace krn310
