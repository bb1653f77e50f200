// A state block as a host hands it back: any bytes at all. A block that is
// refused changes nothing; one that is taken can be written out again and
// read back to the same parameters.
#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& processor = fuzz::processor();

    juce::MemoryBlock before;
    processor.getStateData (before, false);

    if (! processor.setFromStateData (data, (int) size))
    {
        juce::MemoryBlock after;
        processor.getStateData (after, false);
        fuzz::require (fuzz::sameBytes (after, before), "after == before");
        return 0;
    }

    juce::MemoryBlock written;
    processor.getStateData (written, true);
    fuzz::require (processor.setFromStateData (written.getData(), (int) written.getSize()), "processor.setFromStateData (written.getData(), (int) written.getSize())");

    juce::MemoryBlock again;
    processor.getStateData (again, true);
    fuzz::require (fuzz::sameBytes (again, written), "again == written");
    return 0;
}
