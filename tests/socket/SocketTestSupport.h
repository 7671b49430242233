#pragma once

#include "platform/MessageBox.h"
#include "platform/net/HostResolver.h"
#include "socket/Zsocket.h"
#include "tests/support/RunUntil.h"

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace krn310::test {

// A TCP server on 127.0.0.1 on the test's own event loop: it accepts every
// client, keeps what they send, and can answer, close or go away.
class LoopbackPeer {
public:
    LoopbackPeer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* client = server_.nextPendingConnection()) {
                clients_.push_back(client);
                QObject::connect(client, &QTcpSocket::readyRead, client,
                                 [this, client] { received_ += client->readAll(); });
            }
        });
    }

    uint16_t Port() const { return server_.serverPort(); }
    std::string PortText() const { return std::to_string(Port()); }

    bool WaitClient(int limitMs = 5000)
    {
        return RunUntil([&] { return !clients_.empty(); }, limitMs);
    }
    QTcpSocket& Client() { return *clients_.back(); }
    size_t Clients() const { return clients_.size(); }

    void Send(const QByteArray& bytes)
    {
        Client().write(bytes);
        Client().flush();
    }
    bool WaitReceived(int size, int limitMs = 5000)
    {
        return RunUntil([&] { return received_.size() >= size; }, limitMs);
    }
    const QByteArray& Received() const { return received_; }

    void CloseClient() { Client().disconnectFromHost(); }
    void DropClients()
    {
        for (QTcpSocket* client : clients_)
            delete client;
        clients_.clear();
    }

private:
    QTcpServer server_;
    std::vector<QTcpSocket*> clients_;
    QByteArray received_;
};

// Every descriptor this process holds.
inline int OpenDescriptors()
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// A port on 127.0.0.1 where nothing listens.
inline uint16_t FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const uint16_t port = probe.serverPort();
    probe.close();
    return port;
}

// Sets a component listening on a free port of 127.0.0.1.
inline void ListenOnLoopback(TZSocket& server)
{
    server.LimitAddr = "127.0.0.1";
    server.LocalPort = std::to_string(FreePort());
    server.ZListen();
}

// Everything a component raised, in order.
struct SocketEvents {
    struct Error {
        int code;
        std::string text;
        uint32_t socket;
        int state;
    };

    std::vector<std::string> names;
    std::vector<int> states;
    std::vector<Error> errors;

    void Attach(TZSocket& socket)
    {
        auto note = [this](const char* name) {
            return [this, name](TZSocket* sender) {
                names.push_back(name);
                states.push_back(sender->State());
            };
        };
        socket.OnConnect = note("connect");
        socket.OnClose = note("close");
        socket.OnDataAvailable = note("data");
        socket.OnOKToWrite = note("write");
        socket.OnConnectionRequest = note("request");
        socket.OnSendComplete = note("sent");
        socket.OnTimeout = note("timeout");
        socket.OnNameResolved = note("resolved");
        socket.OnNameLookupFailed = note("lookupfailed");
        socket.OnError = [this](TZSocket* sender, int error, std::string errorstr, uint32_t aSocket) {
            names.push_back("error");
            states.push_back(sender->State());
            errors.push_back({error, errorstr, aSocket, sender->State()});
        };
    }

    size_t Count(const std::string& name) const
    {
        size_t n = 0;
        for (const std::string& each : names)
            n += each == name;
        return n;
    }
    bool Has(const std::string& name) const { return Count(name) > 0; }
};

// Message boxes, recorded instead of shown.
struct RecordedBoxes : IMessageBoxSink {
    struct Box {
        std::string text, caption;
    };
    std::vector<Box> boxes;
    void Show(const std::string& text, const std::string& caption, MessageBoxKind) override
    {
        boxes.push_back({text, caption});
    }
};

// A resolver with fixed answers; names it does not know are not found.
// A name listed as held waits until Release.
class FakeResolver : public net::IHostResolver {
public:
    void Add(const std::string& name, const std::string& dotted)
    {
        std::lock_guard lock(mutex_);
        answers_.push_back({name, net::InetAddr(dotted)});
    }
    void Hold(const std::string& name)
    {
        std::lock_guard lock(mutex_);
        held_ = name;
    }
    void Release()
    {
        std::lock_guard lock(mutex_);
        held_.clear();
        released_.notify_all();
    }
    bool WaitDone(int count, int limitMs = 5000)
    {
        std::unique_lock lock(mutex_);
        return done_changed_.wait_for(lock, std::chrono::milliseconds(limitMs), [&] { return done_ >= count; });
    }

    int Resolve(const std::string& name, net::THostEntry& entry) override
    {
        std::unique_lock lock(mutex_);
        released_.wait(lock, [&] { return held_ != name; });
        int result = 11001;
        for (const auto& [known, address] : answers_)
            if (known == name) {
                entry.h_name = name;
                entry.h_addr_list.push_back(address);
                result = 0;
            }
        ++done_;
        done_changed_.notify_all();
        return result;
    }

private:
    std::mutex mutex_;
    std::condition_variable released_, done_changed_;
    std::vector<std::pair<std::string, uint32_t>> answers_;
    std::string held_;
    int done_ = 0;
};

} // namespace krn310::test
