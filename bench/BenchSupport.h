#pragma once

#include "app/Main.h"
#include "tools/sim/Simulator.h"

#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace krn310::bench {

// How many times each side is measured; the median is reported.
inline constexpr int kRepetitions = 5;

double Median(std::vector<double> values);

// One figure, as the line "name value unit".
void Print(const std::string& name, double value, const std::string& unit);

// Processor time of this process so far, user and system.
std::chrono::microseconds ProcessCpuTime();

double MillisecondsSince(std::chrono::steady_clock::time_point start);

// Windows have no screen to go to.
void UseOffscreenPlatformUnlessSet();

// The configurator's window with its own configuration file and no print
// queues, pointed at a simulated printer on loopback and its pty.
class BenchWindow {
public:
    explicit BenchWindow(const sim::Simulator& printer);

    TForm1& Form() { return *form_; }

    // Selects the interface (and for RS-232 the baud rate), connects and
    // waits for the full read; false when it did not complete.
    bool ConnectAndReadOver(int interfaceType, int baud = 115200);
    void Disconnect();

private:
    QTemporaryDir folder_;
    std::unique_ptr<TForm1> form_;
};

} // namespace krn310::bench
