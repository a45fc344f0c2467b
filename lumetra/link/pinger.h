#pragma once

// One ICMP echo to the host, behind an interface so that tests script the answers.

#include <QString>

#include <memory>

namespace lumetra {

class Pinger
{
public:
    virtual ~Pinger() = default;

    // One echo request without payload to the IPv4 address (a host name is resolved first).
    // The reply time in milliseconds (0 or more), or -1 when no reply came within timeoutMs or
    // the request could not be sent at all. Blocks for at most timeoutMs.
    virtual int ping(const QString &address, int timeoutMs) = 0;
};

// The operating system's ICMP echo: an unprivileged ICMP datagram socket where the system
// allows it, a raw socket otherwise.
std::shared_ptr<Pinger> makeSystemPinger();

} // namespace lumetra
