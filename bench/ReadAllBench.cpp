// readall_tcp, readall_serial_115200, readall_serial_9600: a full read
// through the window against the simulator, next to its baseline.
//   krn310-bench-readall          all three
//   krn310-bench-readall --tcp    readall_tcp only (for profiling it alone)

#include "app/Demo.h"
#include "bench/BenchSupport.h"
#include "bench/PlainClient.h"
#include "bench/ReadAllCommands.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

using namespace krn310;
using namespace krn310::bench;

namespace {

// Over a pty the line speed is the baseline: each byte 10 bits (start, eight
// data, stop), commands and replies one after the other.
double WireMs(size_t bytes, int baud)
{
    return double(bytes) * 10.0 * 1000.0 / baud;
}

bool MeasureWindowRead(BenchWindow& window, int interfaceType, int baud, std::vector<double>& times)
{
    const auto start = std::chrono::steady_clock::now();
    if (!window.ConnectAndReadOver(interfaceType, baud))
        return false;
    times.push_back(MillisecondsSince(start));
    window.Disconnect();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatformUnlessSet();
    QApplication app(argc, argv);

    // On loopback and a pty, pacing at the line speed.
    const std::unique_ptr<sim::Simulator> started = StartDemoPrinter();
    sim::Simulator& printer = *started;
    BenchWindow window(printer);

    // A first read of each kind, unmeasured, so that lazily made things
    // (fonts, the lookup thread) count on neither side.
    PlainRead plain = PlainReadAllOverTcp(printer.TcpAddress(), printer.TcpPort());
    if (!plain.ok || !window.ConnectAndReadOver(kInterfaceEthernet)) {
        std::fputs("readall: the simulated printer was not read over TCP\n", stderr);
        return 1;
    }
    window.Disconnect();

    std::vector<double> windowMs;
    std::vector<double> plainMs;
    for (int i = 0; i < kRepetitions; ++i) {
        plain = PlainReadAllOverTcp(printer.TcpAddress(), printer.TcpPort());
        if (!plain.ok || !MeasureWindowRead(window, kInterfaceEthernet, 0, windowMs)) {
            std::fputs("readall: a TCP read failed\n", stderr);
            return 1;
        }
        plainMs.push_back(plain.ms);
    }
    Print("readall_tcp_configurator", Median(windowMs), "ms");
    Print("readall_tcp_plain_client", Median(plainMs), "ms");
    Print("readall_tcp_ratio", Median(windowMs) / Median(plainMs), "x");
    if (argc > 1 && std::strcmp(argv[1], "--tcp") == 0)
        return 0;

    const size_t bytesExchanged = plain.bytesSent + plain.bytesReceived;
    for (int baud : {115200, 9600}) {
        std::vector<double> serialMs;
        for (int i = 0; i < kRepetitions; ++i) {
            if (!MeasureWindowRead(window, kInterfaceRs232, baud, serialMs)) {
                std::fprintf(stderr, "readall: a read over the pty at %d failed\n", baud);
                return 1;
            }
        }
        const std::string name = "readall_serial_" + std::to_string(baud);
        const double wire = WireMs(bytesExchanged, baud);
        Print(name + "_configurator", Median(serialMs), "ms");
        Print(name + "_wire_time", wire, "ms");
        Print(name + "_bytes", double(bytesExchanged), "bytes");
        Print(name + "_ratio", Median(serialMs) / wire, "x");
    }
    return 0;
}
