#pragma once

// The blocking TCP connect of the connect worker, on the operating system's sockets.

#include <QString>
#include <QtGlobal>

namespace lumetra {

// Connects a new TCP socket to the dotted IPv4 address and port, blocking until the connection
// is up or has failed, with the operating system's own time-out. The connected descriptor, or
// -1 for an empty or malformed address, a port outside 1 to 65535 or a failed connect.
qintptr connectBlocking(const QString &address, int port);

void closeDescriptor(qintptr descriptor);

} // namespace lumetra
