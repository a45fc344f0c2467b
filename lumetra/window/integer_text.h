#pragma once

#include <QByteArray>

namespace lumetra {

// The integer at the start of a GBK text, as the settings file and the port box hold it:
// leading white space (ASCII white space or the full-width space) and one sign are skipped,
// then the leading decimal digits are taken, full-width digits (A3 B0 to A3 B9) counting as
// digits. A text without digits gives 0; a value beyond the 32-bit range is clamped to it.
int textToInteger(const QByteArray &text);

} // namespace lumetra
