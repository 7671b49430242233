// Arbitrary text as the local configuration file: read with every key of the
// CONFIG section, written back, and read again. What was read must read back
// the same, and writing the same controls a second time must not change the
// file.

#include "FuzzCheck.h"

#include "config/ConnectionControls.h"
#include "config/LocalConfig.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace krn310 {
namespace {

// One directory for the whole fuzzing process, in memory where possible so
// that the atomic replace of every write stays cheap.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path base = std::filesystem::is_directory(shm) ? shm
                                                                              : std::filesystem::temp_directory_path();
        std::string pattern = (base / "krn310-fuzz-ini-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::filesystem::path File() const { return path_ / "KRN310.INI"; }

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& file, std::string_view text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The lists as the window fills them before the file is read.
ConnectionControls FreshControls(bool withPorts)
{
    ConnectionControls controls;
    controls.ComboBox1.items = {"RS-232", "Ethernet"};
    if (withPorts) {
        controls.ComboBox2.items = {"ttyS0", "ttyS1", "ttyUSB0"};
        controls.ComboBox2.itemIndex = 0;
    }
    controls.ComboBox3.items = {"115200", "57600", "38400", "19200", "9600", "4800", "2400", "1200", "600"};
    controls.ComboBox3.itemIndex = 0;
    return controls;
}

bool SameValues(const ConnectionControls& a, const ConnectionControls& b)
{
    return a.ComboBox1.itemIndex == b.ComboBox1.itemIndex && a.ComboBox2.itemIndex == b.ComboBox2.itemIndex &&
           a.ComboBox3.itemIndex == b.ComboBox3.itemIndex && a.Edit8 == b.Edit8 && a.Edit9 == b.Edit9;
}

void RoundTrip(const std::filesystem::path& file, std::string_view text, bool withPorts)
{
    WriteFile(file, text);
    ConnectionControls read = FreshControls(withPorts);
    LoadLocalConfig(read, file);

    SaveLocalConfig(read, file);
    const std::string written = ReadFile(file);
    ConnectionControls reread = FreshControls(withPorts);
    LoadLocalConfig(reread, file);
    KRN310_FUZZ_CHECK(SameValues(read, reread));

    SaveLocalConfig(reread, file);
    KRN310_FUZZ_CHECK(ReadFile(file) == written);
}

} // namespace
} // namespace krn310

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const krn310::ScratchDirectory scratch;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    krn310::RoundTrip(scratch.File(), text, true);
    krn310::RoundTrip(scratch.File(), text, false);
    return 0;
}
