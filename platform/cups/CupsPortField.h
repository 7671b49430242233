#pragma once

#include <string>

namespace krn310 {

// How a CUPS queue's device URI reads as a port field, and back:
//   serial:/dev/NAME[?options]  <->  "NAME:"
//   file:///dev/null            <->  "FILE:"
//   any other URI               <->  the URI itself
// so a serial port text of this machine matches only the queues on that device.

inline constexpr char kFilePort[] = "FILE:";
inline constexpr char kNullDeviceUri[] = "file:///dev/null";

std::string PortFieldOfDeviceUri(const std::string& uri);

// The device URI for a port field. A queue going back to the port it came
// from gets its old URI, options included, when that URI is known.
std::string DeviceUriForPortField(const std::string& port, const std::string& previousUri = {});

} // namespace krn310
