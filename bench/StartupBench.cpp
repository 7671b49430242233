// startup: wall time from start to the window shown (and the program gone
// again) and peak resident memory of krn310-config, next to the least Qt
// Widgets window built the same way; both ratios.
//   krn310-bench-startup PATH-TO-krn310-config PATH-TO-krn310-bench-minimal-window

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kRepetitions = 5;

struct Run {
    bool ok = false;
    double ms = 0;
    double peakKb = 0;
};

Run Measure(const char* program)
{
    Run run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0)
        return run;
    if (child == 0) {
        execl(program, program, "--exit-when-shown", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return run;
    run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.peakKb = double(usage.ru_maxrss);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Print(const char* name, double value, const char* unit)
{
    std::printf("%s %.3f %s\n", name, value, unit);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: krn310-bench-startup KRN310-CONFIG MINIMAL-WINDOW\n", stderr);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("KRN310_LOOPBACK_ONLY", "1", 0);

    std::vector<double> configMs, configKb, minimalMs, minimalKb;
    // One unmeasured start of each fills the page cache for both alike.
    Measure(argv[1]);
    Measure(argv[2]);
    for (int i = 0; i < kRepetitions; ++i) {
        const Run config = Measure(argv[1]);
        const Run minimal = Measure(argv[2]);
        if (!config.ok || !minimal.ok) {
            std::fputs("startup: a program did not start and exit cleanly\n", stderr);
            return 1;
        }
        configMs.push_back(config.ms);
        configKb.push_back(config.peakKb);
        minimalMs.push_back(minimal.ms);
        minimalKb.push_back(minimal.peakKb);
    }
    Print("startup_configurator_time", Median(configMs), "ms");
    Print("startup_minimal_window_time", Median(minimalMs), "ms");
    Print("startup_time_ratio", Median(configMs) / Median(minimalMs), "x");
    Print("startup_configurator_peak_rss", Median(configKb) / 1024.0, "MiB");
    Print("startup_minimal_window_peak_rss", Median(minimalKb) / 1024.0, "MiB");
    Print("startup_peak_rss_ratio", Median(configKb) / Median(minimalKb), "x");
    return 0;
}
