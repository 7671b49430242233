#pragma once

#include "exchange/ExchangeHost.h"
#include "exchange/ReadScripts.h"
#include "exchange/Sequencer.h"
#include "platform/ManualClock.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace krn310::test {

using Bytes = std::vector<uint8_t>;

// The window and both links as the exchange sees them, recording everything.
class FakeExchangeHost : public IExchangeHost {
public:
    int interfaceType = kInterfaceRs232;

    bool serialConnected = true;
    std::deque<uint8_t> serialIn;  // what the printer has sent, not yet read
    std::vector<Bytes> serialWritten;

    int socketState = kSocketConnected;
    std::deque<uint8_t> socketIn;
    int socketFailure = 0;  // when non-zero, the next receive gives this
    std::vector<Bytes> socketSent;

    std::map<std::pair<int, int>, std::string> cells;
    std::map<std::pair<int, int>, int> cellWrites;
    int enables = 0;
    int disables = 0;
    std::string headerText = "Установить Соединение";
    int headerImage = 0;
    bool headerVisible = true;
    std::vector<std::string> messages;
    std::vector<std::pair<char, Bytes>> decoded;
    // Host calls in order, for tests that check what happens in which order.
    std::vector<std::string> events;

    int InterfaceType() const override { return interfaceType; }

    long SerialWrite(const uint8_t* bytes, long length) override
    {
        serialWritten.emplace_back(bytes, bytes + length);
        return length;
    }
    long SerialRead(uint8_t* buffer, long maxLength) override
    {
        long n = 0;
        while (n < maxLength && !serialIn.empty()) {
            buffer[n++] = serialIn.front();
            serialIn.pop_front();
        }
        return n;
    }
    bool SerialConnected() const override { return serialConnected; }
    void SerialDisconnect() override
    {
        events.push_back("SerialDisconnect");
        serialConnected = false;
    }

    int SocketSend(const uint8_t* bytes, long length) override
    {
        socketSent.emplace_back(bytes, bytes + length);
        return static_cast<int>(length);
    }
    int SocketReceive(uint8_t* buffer, long maxLength) override
    {
        if (socketFailure) {
            const int r = socketFailure;
            socketFailure = 0;
            return r;
        }
        int n = 0;
        while (n < maxLength && !socketIn.empty()) {
            buffer[n++] = socketIn.front();
            socketIn.pop_front();
        }
        return n;
    }
    int SocketState() const override { return socketState; }
    void SocketClose() override
    {
        events.push_back("SocketClose");
        socketState = 1;
    }

    void SetServiceCell(int col, int row, const std::string& text) override
    {
        cells[{col, row}] = text;
        ++cellWrites[{col, row}];
    }
    void EnableSettings() override
    {
        ++enables;
        events.push_back("EnableSettings");
    }
    void DisableSettings() override
    {
        ++disables;
        events.push_back("DisableSettings");
    }
    void SetConnectHeader(const std::string& text, int imageIndex) override
    {
        headerText = text;
        headerImage = imageIndex;
        events.push_back("Header");
    }
    void ShowConnectHeader() override
    {
        headerVisible = true;
        events.push_back("ShowHeader");
    }
    void ShowMessage(const std::string& text) override
    {
        messages.push_back(text);
        events.push_back("Message");
    }
    void DecodeSet1Block(std::span<const uint8_t, 256> block) override { Decoded('t', block); }
    void DecodeSet2PrinterBlock(std::span<const uint8_t, 256> block) override { Decoded('u', block); }
    void DecodeSet2NetworkBlock(std::span<const uint8_t, 256> block) override { Decoded('x', block); }

    std::string Cell(int col, int row) const
    {
        auto it = cells.find({col, row});
        return it == cells.end() ? std::string() : it->second;
    }

    // What went out on the link the exchange used.
    const std::vector<Bytes>& Sent() const { return interfaceType == kInterfaceEthernet ? socketSent : serialWritten; }

private:
    void Decoded(char letter, std::span<const uint8_t, 256> block)
    {
        decoded.emplace_back(letter, Bytes(block.begin(), block.end()));
        events.push_back(std::string("Decode ") + letter);
    }
};

// A printer that answers each command the way a KRN-310 does.
struct ScriptedPrinter {
    std::string model = "KRN-310";
    std::string maker = "Maker";
    std::string firmware = "1.07";
    std::string serial = "SN0001";
    uint8_t status1 = 0x04, status2 = 0x00, status4 = 0x00;
    std::map<char, std::array<uint8_t, 256>> blocks;

    ScriptedPrinter()
    {
        for (char letter : {'t', 'u', 'x'}) {
            std::array<uint8_t, 256> block{};
            for (size_t i = 0; i < block.size(); ++i)
                block[i] = static_cast<uint8_t>(i * 7 + static_cast<uint8_t>(letter));
            blocks[letter] = block;
        }
    }

    static Bytes Ident(const std::string& text)
    {
        Bytes reply;
        reply.reserve(text.size() + 2);
        reply.push_back(0x5F);
        for (char c : text)
            reply.push_back(static_cast<uint8_t>(c));
        reply.push_back(0x00);
        return reply;
    }

    Bytes Reply(const Bytes& command) const
    {
        if (command.size() == 3 && command[0] == 0x1D && command[1] == 0x49) {
            switch (command[2]) {
            case 'A': return Ident(firmware);
            case 'B': return Ident(maker);
            case 'C': return Ident(model);
            case 'D': return Ident(serial);
            }
        }
        if (command.size() == 3 && command[0] == 0x10 && command[1] == 0x04) {
            switch (command[2]) {
            case 1: return {status1};
            case 2: return {status2};
            case 4: return {status4};
            }
        }
        if (command.size() == 7 && command[5] == 0x06) {
            const auto& block = blocks.at(static_cast<char>(command[6]));
            return Bytes(block.begin(), block.end());
        }
        return {};
    }
};

// The exchange on a manual clock, a fake link and a scripted printer.
class ExchangeTest : public ::testing::Test {
protected:
    ManualClock clock;
    std::unique_ptr<TManualTimer> timer1 = clock.CreateTimer(100);
    FakeExchangeHost host;
    TSequencer sequencer{host, *timer1};
    TReadScripts scripts{sequencer, host};
    ScriptedPrinter printer;
    size_t answered = 0;

    void SetUp() override { timer1->OnTimer = [this] { sequencer.Timer1Timer(); }; }

    // One arrival of bytes on the selected link, as its notification delivers it.
    void Arrive(const Bytes& bytes)
    {
        if (host.interfaceType == kInterfaceEthernet) {
            host.socketIn.insert(host.socketIn.end(), bytes.begin(), bytes.end());
            sequencer.ZSocket1DataAvailable();
        } else {
            host.serialIn.insert(host.serialIn.end(), bytes.begin(), bytes.end());
            sequencer.ZComm1DataAvailable();
        }
    }

    // Answers the next unanswered command; false when there is none.
    bool AnswerNext()
    {
        const auto& sent = host.Sent();
        if (answered >= sent.size())
            return false;
        const Bytes command = sent[answered++];
        Arrive(printer.Reply(command));
        return true;
    }

    void AnswerAll()
    {
        while (AnswerNext()) {
        }
    }
};

inline Bytes ToBytes(std::initializer_list<int> values)
{
    Bytes out;
    for (int v : values)
        out.push_back(static_cast<uint8_t>(v));
    return out;
}

} // namespace krn310::test
