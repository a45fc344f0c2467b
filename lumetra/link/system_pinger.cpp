// ICMP echo on the operating system's sockets.
#include "link/pinger.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <optional>

namespace lumetra {

namespace {

constexpr int echoRequestType = 8;
constexpr int echoReplyType = 0;
constexpr std::size_t headerSize = 8;

std::optional<in_addr> resolveIpv4(const QString &address)
{
    const QByteArray text = address.toLatin1();
    if (text.isEmpty())
        return std::nullopt;
    in_addr result{};
    if (::inet_pton(AF_INET, text.constData(), &result) == 1)
        return result;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo *found = nullptr;
    if (::getaddrinfo(text.constData(), nullptr, &hints, &found) != 0 || found == nullptr)
        return std::nullopt;
    result = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return result;
}

quint16 internetChecksum(const unsigned char *data, std::size_t size)
{
    quint32 sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        sum += quint32(data[i] << 8 | data[i + 1]);
    if (size % 2 != 0)
        sum += quint32(data[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<quint16>(~sum & 0xFFFF);
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd = -1;
};

class SystemPinger final : public Pinger
{
public:
    int ping(const QString &address, int timeoutMs) override
    {
        QElapsedTimer clock;
        clock.start();
        const std::optional<in_addr> target = resolveIpv4(address);
        if (!target)
            return -1;

        // The datagram socket needs no privileges where the system allows it (the kernel
        // then owns the identifier); the raw socket needs them and sees every ICMP packet.
        bool raw = false;
        FileDescriptor socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP));
        if (socket.get() < 0) {
            FileDescriptor rawSocket(::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP));
            if (rawSocket.get() < 0)
                return -1;
            raw = true;
            return exchange(rawSocket.get(), raw, *target, timeoutMs, clock);
        }
        return exchange(socket.get(), raw, *target, timeoutMs, clock);
    }

private:
    int exchange(int fd, bool raw, in_addr target, int timeoutMs, const QElapsedTimer &clock)
    {
        const quint16 identifier = static_cast<quint16>(::getpid());
        const quint16 sequence = static_cast<quint16>(m_sequence.fetch_add(1));

        std::array<unsigned char, headerSize> request{};
        request[0] = echoRequestType;
        request[4] = static_cast<unsigned char>(identifier >> 8);
        request[5] = static_cast<unsigned char>(identifier);
        request[6] = static_cast<unsigned char>(sequence >> 8);
        request[7] = static_cast<unsigned char>(sequence);
        const quint16 checksum = internetChecksum(request.data(), request.size());
        request[2] = static_cast<unsigned char>(checksum >> 8);
        request[3] = static_cast<unsigned char>(checksum);

        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr = target;
        if (::sendto(fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr *>(&to),
                     sizeof to) != static_cast<ssize_t>(request.size()))
            return -1;

        std::array<unsigned char, 1500> reply{};
        for (;;) {
            const qint64 left = timeoutMs - clock.elapsed();
            if (left <= 0)
                return -1;
            pollfd entry{fd, POLLIN, 0};
            const int ready = ::poll(&entry, 1, static_cast<int>(left));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                return -1;
            sockaddr_in from{};
            socklen_t fromSize = sizeof from;
            const ssize_t size = ::recvfrom(fd, reply.data(), reply.size(), 0,
                                            reinterpret_cast<sockaddr *>(&from), &fromSize);
            if (size < 0)
                continue;
            if (isOurReply(reply.data(), std::size_t(size), raw, identifier, sequence) &&
                from.sin_addr.s_addr == target.s_addr)
                return static_cast<int>(clock.elapsed());
        }
    }

    static bool isOurReply(const unsigned char *data, std::size_t size, bool raw,
                           quint16 identifier, quint16 sequence)
    {
        if (raw) {
            // A raw socket hands over the IP header too.
            if (size < 20)
                return false;
            const std::size_t ipHeader = std::size_t(data[0] & 0x0F) * 4;
            if (size < ipHeader + headerSize)
                return false;
            data += ipHeader;
            size -= ipHeader;
        }
        if (size < headerSize || data[0] != echoReplyType)
            return false;
        const quint16 replySequence = quint16(data[6] << 8 | data[7]);
        const quint16 replyIdentifier = quint16(data[4] << 8 | data[5]);
        return replySequence == sequence && (!raw || replyIdentifier == identifier);
    }

    std::atomic<quint32> m_sequence{1};
};

} // namespace

std::shared_ptr<Pinger> makeSystemPinger()
{
    return std::make_shared<SystemPinger>();
}

} // namespace lumetra
