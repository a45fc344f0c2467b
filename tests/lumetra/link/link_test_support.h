#pragma once

// What the link and window tests share: a scripted pinger and a loopback listener on which a
// connect attempt hangs until the test lets it go.

#include "link/pinger.h"

#include <QList>
#include <QString>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumetra::test {

// Answers pings from a script; -1 once the script runs out.
class ScriptedPinger final : public Pinger
{
public:
    int ping(const QString &address, int timeoutMs) override
    {
        const std::lock_guard guard(m_mutex);
        m_addresses << address;
        m_timeouts << timeoutMs;
        if (m_onPing)
            m_onPing();
        return m_script.isEmpty() ? -1 : m_script.takeFirst();
    }

    void script(QList<int> results)
    {
        const std::lock_guard guard(m_mutex);
        m_script = std::move(results);
    }
    void onPing(std::function<void()> hook) { m_onPing = std::move(hook); }
    qsizetype calls() const
    {
        const std::lock_guard guard(m_mutex);
        return m_addresses.size();
    }
    QStringList addresses() const
    {
        const std::lock_guard guard(m_mutex);
        return m_addresses;
    }
    QList<int> timeouts() const
    {
        const std::lock_guard guard(m_mutex);
        return m_timeouts;
    }

private:
    mutable std::mutex m_mutex;
    QList<int> m_script;
    QStringList m_addresses;
    QList<int> m_timeouts;
    std::function<void()> m_onPing;
};

// A listener on 127.0.0.1 whose accept queue is full: the SYN of a further connect is dropped,
// so a blocking connect to it waits until release() or refuse().
class HangingListener
{
public:
    HangingListener()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (m_listener < 0 ||
            ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
            ::listen(m_listener, 0) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &size) != 0)
            return;
        m_port = ntohs(address.sin_port);
        // With a backlog of 0 the queue holds one connection; this one fills it.
        m_filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        ::connect(m_filler, reinterpret_cast<sockaddr *>(&address), sizeof address);
    }
    ~HangingListener()
    {
        for (int fd : {m_filler, m_listener, m_accepted})
            if (fd >= 0)
                ::close(fd);
    }
    HangingListener(const HangingListener &) = delete;
    HangingListener &operator=(const HangingListener &) = delete;

    bool isValid() const { return m_port != 0; }
    quint16 port() const { return m_port; }

    // Makes room in the queue: every waiting connect gets through at its next SYN.
    void release()
    {
        ::listen(m_listener, 64);
        m_accepted = ::accept(m_listener, nullptr, nullptr);
    }
    // Closes the listener: the waiting connect is refused at its next SYN.
    void refuse()
    {
        ::close(m_listener);
        m_listener = -1;
    }

private:
    int m_listener = -1;
    int m_filler = -1;
    int m_accepted = -1;
    quint16 m_port = 0;
};

} // namespace lumetra::test
