#include "bench/BenchSupport.h"

#include "app/Demo.h"

#include <QCoreApplication>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace krn310::bench {

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Print(const std::string& name, double value, const std::string& unit)
{
    std::printf("%s %.3f %s\n", name.c_str(), value, unit.c_str());
    std::fflush(stdout);
}

std::chrono::microseconds ProcessCpuTime()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& t) { return std::chrono::microseconds(t.tv_sec * 1000000LL + t.tv_usec); };
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void UseOffscreenPlatformUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

BenchWindow::BenchWindow(const sim::Simulator& printer)
{
    TFormEnvironment environment;
    environment.ConfigFile = (folder_.path() + "/krn310-config.INI").toStdString();
    environment.SaveConfigOnClose = false;
    environment.SysfsRoot = (folder_.path() + "/sys").toStdString();
    environment.MakePortPrinters = [] { return std::unique_ptr<CPortsPrinters>(); };
    form_ = std::make_unique<TForm1>(environment);
    ShowDemoPrinter(*form_, printer);
    form_->show();
    QCoreApplication::processEvents();
}

bool BenchWindow::ConnectAndReadOver(int interfaceType, int baud)
{
    ConnectionView& c = form_->Connection;
    c.ComboBox1->SetItemIndex(interfaceType);
    form_->ComboBox1Change();
    if (interfaceType == kInterfaceRs232)
        c.ComboBox3->SetItemIndex(c.ComboBox3->Items().indexOf(QString::number(baud)));
    return ConnectAndRead(*form_, 60000);
}

void BenchWindow::Disconnect()
{
    form_->HeaderControl1SectionClick(0);
    QCoreApplication::processEvents();
}

} // namespace krn310::bench
