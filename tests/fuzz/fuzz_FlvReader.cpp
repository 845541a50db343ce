// flvmdi reads whatever file it is pointed at: any bytes must give an injection plan or an
// FlvError, never a crash, a hang or unbounded memory. Every tag also goes through the codec
// header parsers and, for script tags, the full AMF0 reader.
#include <cstddef>
#include <cstdint>

#include "flv/Amf0.h"
#include "flv/FlvReader.h"
#include "flv/MetadataCalculator.h"
#include "flv/ScriptTagBuilder.h"

using namespace flvmdi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySource source({data, size});
    FlvReader reader(source);
    MetadataCalculator calculator({true, true}, 64);
    try {
        calculator.setHeader(reader.readHeader());
        while (const auto tag = reader.next()) {
            calculator.add(*tag);
            if (tag->type != kTagScript)
                continue;
            try {
                amf0::Reader amf(reader.bytesAt(tag->offset + kTagHeaderSize, tag->dataSize));
                while (!amf.atEnd())
                    amf.readValue();
            } catch (const FlvError&) {
            }
        }
    } catch (const FlvError&) {
        return 0;
    }
    calculator.lastSecondPoint();
    calculator.inPlaceDataSize();
    const auto payload = ScriptTagBuilder::onMetaDataPayload(calculator.metadata(4096), 100);
    amf0::Reader check(payload);  // what we write must read back whole
    check.readValue();
    check.readValue();
    if (!check.atEnd())
        __builtin_trap();
    return 0;
}
