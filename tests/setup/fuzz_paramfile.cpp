// libFuzzer target for the parameter-file reader: any bytes must be read without a crash, a hang
// or a sanitizer report, and whatever reads as 19 fields must come back unchanged through the
// writer.
#include "setup/parameterfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace quorvia;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (bool complete : {true, false}) {
        const std::optional<ParameterFields> fields = parseParameterFields(bytes, complete);
        if (!fields)
            continue;
        const LoadedSetup setup = loadedSetupFrom(*fields);
        if (setup.beep && (*setup.beep < 0 || *setup.beep > 2))
            std::abort();
        const std::optional<ParameterFields> again =
            parseParameterFields(parameterFileBytes(*fields));
        if (!again || *again != *fields)
            std::abort();
    }
    (void)wholeNumber(QString::fromLatin1(bytes));
    return 0;
}
