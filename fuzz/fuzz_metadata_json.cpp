// A measurement folder's metadata.json, loaded for the metadata alone and with all parts.
#include "fuzzcommon.h"

#include "storage/savedata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString folder = Fuzz::freshFolder();
    if (!Fuzz::write(folder + QStringLiteral("/metadata.json"), data, size))
        return 0;
    SaveData metadata;
    metadata.load(folder, Metadata);
    SaveData whole;
    whole.load(folder, AllSaveDataParts);
    return 0;
}
