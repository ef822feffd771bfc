#include "fmtfuzzentry.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString broken =
        fmtInvariantBroken(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "broken: %s\n", qPrintable(broken));
        std::abort();
    }
    return 0;
}
