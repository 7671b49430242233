#include "tests/spooler/PrivateCupsd.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace krn310::test {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string FindProgram(const std::string& name)
{
    std::string dirs = std::getenv("PATH") ? std::getenv("PATH") : "";
    dirs += ":/usr/sbin:/sbin:/usr/bin";
    std::istringstream in(dirs);
    for (std::string dir; std::getline(in, dir, ':');) {
        const std::string path = dir + "/" + name;
        if (!dir.empty() && ::access(path.c_str(), X_OK) == 0)
            return path;
    }
    return {};
}

std::vector<char*> ArgvOf(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    return args;
}

bool WaitForExit(int pid, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

} // namespace

int RunCommand(const std::vector<std::string>& argv, std::string* out)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        const std::vector<char*> args = ArgvOf(argv);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (out)
        *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool TPrivateCupsd::Start()
{
    cupsd_ = FindProgram("cupsd");
    if (cupsd_.empty() || FindProgram("lpadmin").empty() || FindProgram("lpstat").empty()) {
        cupsd_.clear();
        error_ = "cupsd, lpadmin or lpstat not installed (Debian packages cups-daemon and cups-client)";
        return false;
    }
    if (dir_.Path().empty()) {
        error_ = "no temporary folder for cupsd";
        return false;
    }
    const std::string d = dir_.Path();
    ::chmod(d.c_str(), 0755);
    for (const char* sub : {"root", "spool", "cache", "state", "log", "tmp", "bin/backend"})
        fs::create_directories(d + "/" + sub);
    // The scheduler accepts a device URI only when a backend of its scheme
    // exists. The real serial, socket and USB backends come with the whole
    // print system; these never print, so that the tests need only the
    // scheduler and never open a real port.
    for (const char* sub : {"daemon", "notifier"})
        fs::create_directory_symlink(std::string("/usr/lib/cups/") + sub, d + "/bin/" + sub);
    for (const char* scheme : {"serial", "socket", "usb"}) {
        const std::string backend = d + "/bin/backend/" + scheme;
        WriteFile(backend, "#!/bin/sh\nexit 0\n");
        ::chmod(backend.c_str(), 0755);
    }
    socket_ = d + "/cups.sock";

    WriteFile(d + "/cups-files.conf",
              "ServerRoot " + d + "/root\n"
              "ServerBin " + d + "/bin\n"
              "RequestRoot " + d + "/spool\n"
              "CacheDir " + d + "/cache\n"
              "StateDir " + d + "/state\n"
              "TempDir " + d + "/tmp\n"
              "ErrorLog " + d + "/log/error_log\n"
              "AccessLog " + d + "/log/access_log\n"
              "PageLog " + d + "/log/page_log\n"
              "Printcap " + d + "/printcap\n"
              "FileDevice No\n");
    // Local socket only, no browsing, and anyone on the socket may administer.
    WriteFile(d + "/cupsd.conf",
              "Listen " + socket_ + "\n"
              "Browsing No\n"
              "BrowseLocalProtocols none\n"
              "WebInterface No\n"
              "DefaultAuthType None\n"
              "LogLevel warn\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n"
              "  JobPrivateAccess all\n  JobPrivateValues none\n"
              "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
              "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
              "</Policy>\n");

    ::setenv("CUPS_SERVER", socket_.c_str(), 1);
    ::setenv("KRN310_SPOOLER_JOURNAL", JournalPath().c_str(), 1);

    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        error_ = "fork failed";
        return false;
    }
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        ::setpgid(0, 0);
        const int log = ::open((d + "/log/cupsd.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(log, STDOUT_FILENO);
        ::dup2(log, STDERR_FILENO);
        const std::vector<std::string> argv = {cupsd_, "-f", "-c", d + "/cupsd.conf", "-s", d + "/cups-files.conf"};
        const std::vector<char*> args = ArgvOf(argv);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    pid_ = pid;

    const auto end = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = 0;
            error_ = "cupsd exited at start:\n" + Log();
            return false;
        }
        if (fs::exists(socket_) && RunCommand({"lpstat", "-r"}) == 0)
            return true;
        std::this_thread::sleep_for(50ms);
    }
    Stop();
    error_ = "cupsd did not answer:\n" + Log();
    return false;
}

void TPrivateCupsd::Stop()
{
    if (pid_ <= 0)
        return;
    ::kill(-pid_, SIGTERM);
    ::kill(pid_, SIGTERM);
    if (!WaitForExit(pid_, 10s)) {
        ::kill(-pid_, SIGKILL);
        ::kill(pid_, SIGKILL);
        WaitForExit(pid_, 10s);
    }
    pid_ = 0;
}

std::string TPrivateCupsd::Log() const
{
    std::string text;
    for (const char* name : {"/log/cupsd.out", "/log/error_log"}) {
        std::ifstream in(dir_.Path() + name);
        text += std::string(std::istreambuf_iterator<char>(in), {});
    }
    return text;
}

bool TPrivateCupsd::AddQueue(const std::string& name, const std::string& uri) const
{
    return RunCommand({"lpadmin", "-p", name, "-v", uri, "-E"}) == 0;
}

bool TPrivateCupsd::SetQueueUri(const std::string& name, const std::string& uri) const
{
    return RunCommand({"lpadmin", "-p", name, "-v", uri}) == 0;
}

bool TPrivateCupsd::RemoveQueue(const std::string& name) const
{
    return RunCommand({"lpadmin", "-x", name}) == 0;
}

void TPrivateCupsd::RemoveAllQueues() const
{
    for (const auto& [name, uri] : DeviceUris())
        RemoveQueue(name);
}

std::map<std::string, std::string> TPrivateCupsd::DeviceUris() const
{
    std::map<std::string, std::string> uris;
    std::string out;
    RunCommand({"lpstat", "-v"}, &out);
    std::istringstream lines(out);
    const std::string prefix = "device for ";
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(": ", prefix.size());
        if (line.rfind(prefix, 0) != 0 || colon == std::string::npos)
            continue;
        std::string uri = line.substr(colon + 2);
        // lpstat shows file: URIs by their path alone.
        if (uri.starts_with("/"))
            uri = "file:" + uri;
        uris[line.substr(prefix.size(), colon - prefix.size())] = uri;
    }
    return uris;
}

TPrivateCupsd& SharedCupsd()
{
    static TPrivateCupsd cupsd;
    return cupsd;
}

namespace {

class TCupsdEnvironment : public ::testing::Environment {
public:
    void SetUp() override { SharedCupsd().Start(); }
    void TearDown() override { SharedCupsd().Stop(); }
};

[[maybe_unused]] ::testing::Environment* const kCupsdEnvironment =
    ::testing::AddGlobalTestEnvironment(new TCupsdEnvironment);

} // namespace

void CupsdTest::SetUp()
{
    TPrivateCupsd& cupsd = SharedCupsd();
    if (!cupsd.Running()) {
        const char* ci = std::getenv("CI");
        if (cupsd.Installed() || (ci && std::string(ci) == "true"))
            FAIL() << "no private cupsd: " << cupsd.Error();
        GTEST_SKIP() << "skipped: " << cupsd.Error();
    }
    cupsd.RemoveAllQueues();
    ASSERT_TRUE(cupsd.DeviceUris().empty());
    std::error_code ignored;
    fs::remove(cupsd.JournalPath(), ignored);
}

void CupsdTest::AddQueues(const std::map<std::string, std::string>& queues)
{
    for (const auto& [name, uri] : queues)
        ASSERT_TRUE(Cupsd().AddQueue(name, uri)) << name << " " << uri;
    ASSERT_EQ(Cupsd().DeviceUris(), queues);
}

} // namespace krn310::test
