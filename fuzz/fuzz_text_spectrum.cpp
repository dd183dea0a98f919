// Text spectrum files as found in library and measurement folders.
#include "fuzzlibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::freshFolder() + QStringLiteral("/spectrum.txt");
    if (!Fuzz::write(path, data, size))
        return 0;
    QMap<QString, QString> header;
    Fuzz::prepareAsLibrary(loadSpectrumFromCSV(path, &header));
    return 0;
}
