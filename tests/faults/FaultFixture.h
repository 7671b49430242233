#pragma once

#include "app/Demo.h"
#include "platform/StringTable.h"
#include "tests/app/FormFixture.h"
#include "tools/sim/Simulator.h"

#include <sys/resource.h>

#include <chrono>
#include <memory>
#include <string>

namespace krn310::test {

enum class Link { Tcp, Pty };

inline const char* LinkName(Link link)
{
    return link == Link::Tcp ? "Tcp" : "Pty";
}

// Processor time of the whole process so far, user and system.
inline std::chrono::microseconds ProcessCpuTime()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& t) { return std::chrono::microseconds(t.tv_sec * 1000000LL + t.tv_usec); };
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

// The window pointed at a simulated printer on loopback and a pty, with the
// chosen interface selected. Pacing is off: the faults, not the line speed,
// are under test.
class FaultFixture : public FormFixture {
protected:
    void StartPrinter(Link link)
    {
        sim::Options options;
        options.tcp = true;
        options.pty = true;
        options.pacing = false;
        printer = std::make_unique<sim::Simulator>(options);
        printer->Start();
        ShowDemoPrinter(*form, *printer);
        form->Connection.ComboBox1->SetItemIndex(link == Link::Tcp ? kInterfaceEthernet : kInterfaceRs232);
        form->ComboBox1Change();
    }

    bool HeaderVisible() const { return form->Navigation.HeaderControl1->isVisible(); }
    std::string HeaderText() const { return form->Navigation.HeaderControl1->SectionText(0).toStdString(); }

    bool ReadComplete() const
    {
        return form->Sequencer.Idle() && !form->Timer1.Enabled() && form->PrinterSettings1.GroupBox2->isEnabled() &&
               HeaderText() == LoadStr(IDS_DISCONNECT);
    }

    bool NotRespondingShown() const
    {
        for (const auto& box : boxes.shown)
            if (box.text == "Принтер не отвечает!!!!")
                return true;
        return false;
    }

    bool LinkOpen() const { return form->ZComm1.Connected() != 0 || form->ZSocket1.State() == kSocketConnected; }

    // Clicks the header once it can be clicked (the socket hides it while it
    // connects) and waits for the link to open and the read to start.
    void Connect()
    {
        ASSERT_TRUE(RunUntil([&] { return HeaderVisible(); }, 20000));
        ASSERT_FALSE(LinkOpen());
        ClickHeaderSection();
    }

    void Disconnect()
    {
        ASSERT_TRUE(LinkOpen());
        ClickHeaderSection();
        ASSERT_FALSE(LinkOpen());
    }

    std::unique_ptr<sim::Simulator> printer;
};

} // namespace krn310::test
