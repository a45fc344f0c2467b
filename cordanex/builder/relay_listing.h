#pragma once

#include <QByteArray>

namespace cordanex {

// The relay commands of the VANTREL eight-channel relay device with the given device code,
// as 22 GBK lines each ending in CR LF: under four headings, one send command to open and one
// to close each relay, one to open all in sequence and one to close all at once. The
// per-relay commands carry the given port, baud and format codes; the two all-relay commands
// always carry 08 06 00.
QByteArray BuildRelayListing(int portCode, int baudCode, int formatCode, int deviceCode);

} // namespace cordanex
