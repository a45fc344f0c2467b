// Feeds arbitrary bytes to the IR database reader, then writes what it read and reads that
// again. Besides crashes and sanitizer reports it checks what every caller relies on: no entry
// is all empty, and no field holds a zero byte or a line end.

#include "library/ir_database.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkEntries(const QList<lumetra::IrCodeEntry> &entries)
{
    for (const lumetra::IrCodeEntry &entry : entries) {
        if (entry.keyName.isEmpty() && entry.irLength.isEmpty() && entry.irData.isEmpty())
            std::abort();
        for (const QByteArray *field : {&entry.keyName, &entry.irLength, &entry.irData}) {
            if (field->contains('\0'))
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<lumetra::IrCodeEntry> entries = lumetra::readIrDatabase(bytes);
    checkEntries(entries);
    const QByteArray written = lumetra::writeIrDatabase(entries);
    if (written.contains('\0'))
        std::abort();
    checkEntries(lumetra::readIrDatabase(written));
    return 0;
}
