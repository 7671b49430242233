#pragma once

#include "exchange/ExchangeHost.h"
#include "platform/Timer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace krn310 {

// One step of a script: it sends one command or waits for and decodes one
// reply. Steps take no arguments and return nothing.
using StepRoutine = std::function<void()>;

// A fixed list of steps ended by a null entry. Scripts are built once, when
// their owner is built, and never change afterwards.
using StepScript = std::vector<StepRoutine>;

// A script of the owner's step methods, in order, with its null end. The
// owner must outlive the script.
template <class Owner>
StepScript MakeStepScript(Owner& owner, const std::vector<void (Owner::*)()>& steps)
{
    StepScript script;
    script.reserve(steps.size() + 1);
    for (auto step : steps)
        script.emplace_back([&owner, step] { (owner.*step)(); });
    script.emplace_back(nullptr);
    return script;
}

// The engine every exchange with the printer goes through. There is at most
// one running script; starting another abandons it. Replies are matched to
// requests only by position: arriving bytes go to whatever step is current.
// A reply watchdog on Timer1 closes a silent link.
//
// The step contract:
//  - a send step calls AdvanceStep, then SendToPrinter;
//  - a receive step is called after each append of new bytes; while its
//    reply is incomplete it returns and changes nothing; once complete it
//    decodes from index 0, sets ReplyLength to 0 and calls RunNextStep.
class TSequencer {
public:
    static constexpr uint32_t kReplyBufferSize = 1024;
    static constexpr int32_t kWatchdogReload = 10;
    static constexpr unsigned kWatchdogTickMs = 100;

    TSequencer(IExchangeHost& host, TTimer& timer1);
    TSequencer(const TSequencer&) = delete;
    TSequencer& operator=(const TSequencer&) = delete;

    // Starts a script, abandoning a running one. A new script starts with an
    // empty reply buffer. A script whose first entry is null only stops the
    // watchdog.
    void RunScript(const StepScript& script);
    // Moves to the next step and calls it, or ends the script after the last.
    void RunNextStep();
    // Moves to the next step without calling it, or ends the script.
    void AdvanceStep();

    // Sends over the selected interface and re-arms the watchdog. A failed
    // write is not reported: a printer that stays silent is the watchdog's.
    void SendToPrinter(const uint8_t* bytes, int32_t length);

    // WatchdogTicks = 10 and Timer1 on: the connect paths and the information
    // request arm the watchdog before their first send.
    void ArmWatchdog();

    // The links' data-arrival handlers and the watchdog tick.
    void ZComm1DataAvailable();
    void ZSocket1DataAvailable();
    void Timer1Timer();

    bool Idle() const { return ScriptCursor == nullptr; }

    // The engine's state. It exists once and lives as long as the window.
    const StepRoutine* ScriptCursor = nullptr;
    std::array<uint8_t, kReplyBufferSize> ReplyBuffer{};
    uint32_t ReplyLength = 0;
    int32_t WatchdogTicks = kWatchdogReload;
    TTimer& Timer1;

private:
    // Appends what fits; a reply that grows past the buffer without passing
    // its test loses its excess bytes and is left to the watchdog.
    void AppendReply(const uint8_t* bytes, uint32_t count);
    // Moves the cursor on; at the end of the script ends it and gives false.
    bool MoveToNextStep();
    void CallCurrentStep();
    void EndScript();
    void WatchdogExpired();

    IExchangeHost& host_;
};

} // namespace krn310
