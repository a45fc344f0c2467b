#include "link/native_connect.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumetra {

namespace {

// A connect interrupted by a signal goes on in the background; wait for its outcome.
bool awaitInterruptedConnect(int fd)
{
    pollfd entry{fd, POLLOUT, 0};
    int ready = 0;
    do {
        ready = ::poll(&entry, 1, -1);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return false;
    int error = 0;
    socklen_t size = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

} // namespace

qintptr connectBlocking(const QString &address, int port)
{
    if (port < 1 || port > 65535)
        return -1;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<quint16>(port));
    if (::inet_pton(AF_INET, address.toLatin1().constData(), &target.sin_addr) != 1)
        return -1;

    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const auto *raw = reinterpret_cast<const sockaddr *>(&target);
    bool ok = ::connect(fd, raw, sizeof target) == 0;
    if (!ok && errno == EINTR)
        ok = awaitInterruptedConnect(fd);
    if (!ok) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void closeDescriptor(qintptr descriptor)
{
    if (descriptor >= 0)
        ::close(static_cast<int>(descriptor));
}

} // namespace lumetra
