#pragma once

#include "tools/sim/Simulator.h"

#include <memory>

namespace krn310 {

class TForm1;

// The demo: a simulated KRN-310 in this process, on a free loopback port and
// on a pseudo-terminal, so that everything can be tried without a printer.
std::unique_ptr<sim::Simulator> StartDemoPrinter();

// Points the connection view at the simulated printer: Ethernet selected with
// its loopback address and port, and its pseudo-terminal ("pts/N") in the
// serial port list for RS-232.
void ShowDemoPrinter(TForm1& form, const sim::Simulator& printer);

// Connects with the connection view's values and waits until the printer has
// been read; false when that did not happen within limitMs.
bool ConnectAndRead(TForm1& form, int limitMs);

} // namespace krn310
