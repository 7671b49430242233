#include "platform/cups/CupsPortField.h"

#include <gtest/gtest.h>

namespace krn310 {
namespace {

struct TUriCase {
    const char* Uri;
    const char* Port;
};

const TUriCase kUriToPort[] = {
    {"serial:/dev/ttyS0", "ttyS0:"},
    {"serial:/dev/ttyUSB0?baud=9600+flow=soft", "ttyUSB0:"},
    {"serial:/dev/ttyS0?baud=115200", "ttyS0:"},
    {"file:///dev/null", "FILE:"},
    {"file:/dev/null", "FILE:"},
    {"file:///tmp/out.prn", "file:///tmp/out.prn"},
    {"socket://127.0.0.1:9100", "socket://127.0.0.1:9100"},
    {"usb://Vendor/Model?serial=1", "usb://Vendor/Model?serial=1"},
    {"serial:/dev/", "serial:/dev/"},
    {"serial:/dev/?baud=9600", "serial:/dev/?baud=9600"},
    {"serial://dev/ttyS0", "serial://dev/ttyS0"},
    {"SERIAL:/dev/ttyS0", "SERIAL:/dev/ttyS0"},
};

TEST(CupsPortField, DeviceUriReadsAsPortField)
{
    for (const TUriCase& c : kUriToPort)
        EXPECT_EQ(PortFieldOfDeviceUri(c.Uri), c.Port) << c.Uri;
}

struct TPortCase {
    const char* Port;
    const char* PreviousUri;
    const char* Uri;
};

const TPortCase kPortToUri[] = {
    {"FILE:", "", "file:///dev/null"},
    {"FILE:", "serial:/dev/ttyS0?baud=9600", "file:///dev/null"},
    {"ttyS0:", "", "serial:/dev/ttyS0"},
    {"ttyS0:", "serial:/dev/ttyS0?baud=9600+flow=soft", "serial:/dev/ttyS0?baud=9600+flow=soft"},
    // An old URI of another port is not used.
    {"ttyS0:", "serial:/dev/ttyS1?baud=9600", "serial:/dev/ttyS0"},
    {"ttyS0:", "file:///dev/null", "serial:/dev/ttyS0"},
    {"socket://127.0.0.1:9100", "", "socket://127.0.0.1:9100"},
    {"socket://127.0.0.1:9100", "serial:/dev/ttyS0", "socket://127.0.0.1:9100"},
};

TEST(CupsPortField, PortFieldGivesDeviceUri)
{
    for (const TPortCase& c : kPortToUri)
        EXPECT_EQ(DeviceUriForPortField(c.Port, c.PreviousUri), c.Uri) << c.Port << " after " << c.PreviousUri;
}

TEST(CupsPortField, SerialAndNullUrisSurviveTheRoundTrip)
{
    for (const char* uri : {"serial:/dev/ttyS0", "serial:/dev/ttyUSB1?baud=19200+bits=8", "file:///dev/null",
                            "socket://127.0.0.1:9100"}) {
        EXPECT_EQ(DeviceUriForPortField(PortFieldOfDeviceUri(uri), uri), uri);
    }
}

} // namespace
} // namespace krn310
