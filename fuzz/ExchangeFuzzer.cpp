// Arbitrary printer bytes, cut into arrivals at points the input chooses, fed
// to the exchange while a read script or an apply flow runs, on either link,
// with failed socket receives, interface changes and clock advances in
// between. The engine must stay within its buffer, its cursor must stay on a
// step of a live script, and every run must end once the clock has passed all
// pauses and the watchdog.

#include "FuzzCheck.h"

#include "exchange/ExchangeHost.h"
#include "exchange/ReadScripts.h"
#include "exchange/Sequencer.h"
#include "platform/ManualClock.h"
#include "platform/StrToInt.h"
#include "settings/ApplyFlows.h"
#include "settings/Set1Block.h"
#include "settings/Set2NetworkBlock.h"
#include "settings/Set2PrinterBlock.h"
#include "settings/WriteImages.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <deque>
#include <functional>
#include <string>

namespace krn310 {
namespace {

constexpr std::array<const char*, 6> kBaudTexts{"115200", "9600", "600", "1", "", "abc"};

// The window and both links: the views decode what the printer sends and are
// encoded again when a flow asks, as the window does.
class FuzzHost : public IExchangeHost, public IApplyFlowHost {
public:
    int interfaceType = kInterfaceRs232;
    bool serialConnected = true;
    std::deque<uint8_t> serialIn;
    int socketState = kSocketConnected;
    std::deque<uint8_t> socketIn;
    int socketFailure = 0;
    std::string baudText = "115200";
    std::function<void()> onLinkOpened;

    WriteImages images;
    Set1View set1;
    Set2PrinterView set2Printer;
    Set2NetworkView set2Network;

    FuzzHost()
    {
        const SettingsBlock factory{};
        krn310::DecodeSet1Block(factory, set1);
        krn310::DecodeSet2PrinterBlock(factory, set2Printer, set2Network, interfaceType);
    }

    int InterfaceType() const override { return interfaceType; }

    long SerialWrite(const uint8_t*, long length) override { return serialConnected ? length : 0; }
    long SerialRead(uint8_t* buffer, long maxLength) override { return Take(serialIn, buffer, maxLength); }
    bool SerialConnected() const override { return serialConnected; }
    void SerialDisconnect() override { serialConnected = false; }

    int SocketSend(const uint8_t*, long length) override
    {
        return socketState == kSocketConnected ? static_cast<int>(length) : -1;
    }
    int SocketReceive(uint8_t* buffer, long maxLength) override
    {
        if (socketFailure != 0) {
            const int failure = socketFailure;
            socketFailure = 0;
            return failure;
        }
        return static_cast<int>(Take(socketIn, buffer, maxLength));
    }
    int SocketState() const override { return socketState; }
    void SocketClose() override { socketState = 0; }

    void SetServiceCell(int, int, const std::string&) override {}
    void EnableSettings() override {}
    void DisableSettings() override {}
    void SetConnectHeader(const std::string&, int) override {}
    void ShowConnectHeader() override {}
    void ShowMessage(const std::string&) override {}

    void DecodeSet1Block(std::span<const uint8_t, 256> block) override { krn310::DecodeSet1Block(block, set1); }
    void DecodeSet2PrinterBlock(std::span<const uint8_t, 256> block) override
    {
        krn310::DecodeSet2PrinterBlock(block, set2Printer, set2Network, interfaceType);
    }
    void DecodeSet2NetworkBlock(std::span<const uint8_t, 256> block) override
    {
        krn310::DecodeSet2NetworkBlock(block, set2Network);
    }

    bool EncodeSet1Block() override { return !krn310::EncodeSet1Block(set1, images.Set1).has_value(); }
    void EncodeSet2Blocks() override
    {
        krn310::EncodeSet2Blocks(set2Printer, set2Network, images.Set2Printer, images.Set2Network);
    }
    std::string ConnectionBaudText() const override { return baudText; }
    void CopyPrinterSettingsToConnectionView() override {}
    // Closes an open link; opens a closed one and, as the window does, reads
    // set 2 over it.
    void ReconnectToggle() override
    {
        if (interfaceType == kInterfaceEthernet) {
            socketState = socketState == kSocketConnected ? 0 : kSocketConnected;
            if (socketState == kSocketConnected)
                onLinkOpened();
        } else {
            serialConnected = !serialConnected;
            if (serialConnected)
                onLinkOpened();
        }
    }

private:
    static long Take(std::deque<uint8_t>& queue, uint8_t* buffer, long maxLength)
    {
        long n = 0;
        while (n < maxLength && !queue.empty()) {
            buffer[n++] = queue.front();
            queue.pop_front();
        }
        return n;
    }
};

// Every event handler of the window runs guarded: a conversion error ends the
// handler and nothing else. Any other exception is a fault.
template <class Handler>
void Guarded(Handler&& handler)
{
    try {
        handler();
    } catch (const EConvertError&) {
    }
}

class ExchangeRun {
public:
    explicit ExchangeRun(FuzzedDataProvider& input) : input_(input)
    {
        host_.onLinkOpened = [this] {
            sequencer_.ArmWatchdog();
            sequencer_.RunScript(reads_.ReadSet2Script);
        };
        timer1_->OnTimer = [this] { Guarded([this] { sequencer_.Timer1Timer(); }); };
        timer2_->OnTimer = [this] { Guarded([this] { flows_.Timer2Timer(); }); };
        timer3_->OnTimer = [this] { Guarded([this] { flows_.Timer3Timer(); }); };
        timer4_->OnTimer = [this] { Guarded([this] { flows_.Timer4Timer(); }); };
    }

    void Run()
    {
        host_.interfaceType = PickInterface();
        host_.baudText = kBaudTexts[input_.ConsumeIntegralInRange<size_t>(0, kBaudTexts.size() - 1)];
        Start();
        CheckEngine();
        while (input_.remaining_bytes() > 0) {
            Step();
            CheckEngine();
        }
        End();
    }

private:
    int PickInterface()
    {
        // Mostly a real interface; now and then none or an unknown index.
        switch (input_.ConsumeIntegralInRange(0, 7)) {
        case 6: return -1;
        case 7: return 2;
        default: return input_.ConsumeBool() ? kInterfaceEthernet : kInterfaceRs232;
        }
    }

    void Start()
    {
        const auto runRead = [this](const StepScript& script) {
            sequencer_.ArmWatchdog();
            sequencer_.RunScript(script);
        };
        Guarded([&] {
            switch (input_.ConsumeIntegralInRange(0, 8)) {
            case 0: runRead(reads_.ReadAllScript); break;
            case 1: runRead(reads_.ReadSet1Script); break;
            case 2: runRead(reads_.ReadSet2Script); break;
            case 3: runRead(reads_.ReadInfoScript); break;
            case 4: reads_.SpeedButton2Click(); break;
            case 5: flows_.SpeedButton3Click(); break;
            case 6: flows_.SpeedButton4Click(); break;
            case 7: flows_.SpeedButton5Click(); break;
            default: flows_.SpeedButton6Click(); break;
            }
        });
    }

    void Step()
    {
        switch (input_.ConsumeIntegralInRange(0, 9)) {
        case 0:
        case 1:
        case 2:
        case 3: {
            // One arrival; longer than a chunk now and then, so that a
            // notification leaves bytes for the next one.
            const auto length = input_.ConsumeIntegralInRange<size_t>(0, 1300);
            const std::string bytes = input_.ConsumeBytesAsString(length);
            Arrive(input_.ConsumeBool(), bytes);
            break;
        }
        case 4:
            host_.socketFailure = input_.ConsumeIntegralInRange(-10060, -1);
            Guarded([this] { sequencer_.ZSocket1DataAvailable(); });
            break;
        case 5:
        case 6:
            clock_.Advance(input_.ConsumeIntegralInRange<uint64_t>(0, 3000));
            break;
        case 7:
            Start();
            break;
        case 8:
            host_.interfaceType = PickInterface();
            break;
        default:
            host_.serialConnected = input_.ConsumeBool();
            host_.socketState = input_.ConsumeBool() ? kSocketConnected : 0;
            break;
        }
    }

    void Arrive(bool serial, const std::string& bytes)
    {
        auto& queue = serial ? host_.serialIn : host_.socketIn;
        queue.insert(queue.end(), bytes.begin(), bytes.end());
        Guarded([&] {
            if (serial)
                sequencer_.ZComm1DataAvailable();
            else
                sequencer_.ZSocket1DataAvailable();
        });
    }

    // Lets every pause and the watchdog run out; afterwards nothing happens
    // without a new event. The longest wait is a restart at a baud of 1, so
    // the bound is in expiries, not in milliseconds.
    void Drain()
    {
        for (int expiries = 0; expiries < 1000 && clock_.NextDue() != UINT64_MAX; ++expiries)
            clock_.Advance(clock_.NextDue() - clock_.Now());
        KRN310_FUZZ_CHECK(clock_.NextDue() == UINT64_MAX);
    }

    // A script can be left waiting with the watchdog stopped: between the
    // parts of a socket reply, after a failed receive, or after the move to
    // new parameters closed the link. It must not be stuck there: the next
    // notification, even an empty one, re-arms the watchdog, which ends it.
    void End()
    {
        Drain();
        if (!sequencer_.Idle()) {
            host_.serialIn.clear();
            Guarded([this] { sequencer_.ZComm1DataAvailable(); });
            Drain();
        }
        KRN310_FUZZ_CHECK(sequencer_.Idle());
    }

    void CheckEngine() const
    {
        KRN310_FUZZ_CHECK(sequencer_.ReplyLength <= TSequencer::kReplyBufferSize);
        if (sequencer_.Idle())
            return;
        const StepScript* scripts[] = {&reads_.ReadAllScript,    &reads_.ReadSet1Script,   &reads_.ReadSet2Script,
                                       &reads_.ReadInfoScript,   &flows_.WriteSet1Script,  &flows_.FactorySet1Script,
                                       &flows_.WriteSet2Script,  &flows_.FactorySet2Script};
        const auto cursor = reinterpret_cast<uintptr_t>(sequencer_.ScriptCursor);
        bool onStep = false;
        for (const StepScript* script : scripts) {
            const auto first = reinterpret_cast<uintptr_t>(script->data());
            const auto terminator = reinterpret_cast<uintptr_t>(script->data() + script->size() - 1);
            if (cursor >= first && cursor < terminator && (cursor - first) % sizeof(StepRoutine) == 0)
                onStep = true;
        }
        KRN310_FUZZ_CHECK(onStep);
        KRN310_FUZZ_CHECK(static_cast<bool>(*sequencer_.ScriptCursor));
    }

    FuzzedDataProvider& input_;
    ManualClock clock_;
    std::unique_ptr<TManualTimer> timer1_ = clock_.CreateTimer(100);
    std::unique_ptr<TManualTimer> timer2_ = clock_.CreateTimer(1000);
    std::unique_ptr<TManualTimer> timer3_ = clock_.CreateTimer(1000);
    std::unique_ptr<TManualTimer> timer4_ = clock_.CreateTimer(1000);
    FuzzHost host_;
    TSequencer sequencer_{host_, *timer1_};
    TReadScripts reads_{sequencer_, host_};
    TApplyFlows flows_{sequencer_, reads_, host_, *timer2_, *timer3_, *timer4_,
                       host_.images.Set1, host_.images.Set2Printer, host_.images.Set2Network};
};

} // namespace
} // namespace krn310

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    krn310::ExchangeRun(input).Run();
    return 0;
}
