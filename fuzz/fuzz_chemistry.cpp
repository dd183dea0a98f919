// A library folder's chemistry.csv.
#include "fuzzcommon.h"

#include "library/chemistry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::freshFolder() + QStringLiteral("/chemistry.csv");
    if (!Fuzz::write(path, data, size))
        return 0;
    const ChemistryTable table = readChemistryFile(path);
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        for (const quint16 code : it.value().elements)
            Chemistry::elementSymbol(code);
    }
    return 0;
}
