// CSV/TSV text through its reader and the checks every imported spectrum passes.
#include "fuzzreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return Fuzz::readerInput(data, size, readDelimitedText);
}
