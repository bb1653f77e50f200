// The bytes of a preset file, as the user may hand over anything with the
// right suffix: decoding is undone exactly by encoding, and loading takes a
// preset of this plug-in or leaves everything as it was.
#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& processor = fuzz::processor();
    const juce::MemoryBlock file (data, size);

    // Unscrambling, then scrambling again, gives the file back without the
    // zero bytes at its end.
    auto decoded = file;
    juce::vorn_gui::applyBitShift (decoded, -presetBitShift);
    auto encoded = decoded;
    juce::vorn_gui::applyBitShift (encoded, presetBitShift);
    auto trimmed = file;
    while (trimmed.getSize() > 0 && trimmed[trimmed.getSize() - 1] == 0)
        trimmed.setSize (trimmed.getSize() - 1);
    const auto lowBitsLost = trimmed.getSize() > 0 && (static_cast<std::uint8_t> (trimmed[0]) & ((1 << presetBitShift) - 1)) != 0;
    fuzz::require (lowBitsLost || fuzz::sameBytes (encoded, trimmed), "lowBitsLost || encoded == trimmed");

    juce::MemoryBlock before;
    processor.getStateData (before, true);
    const bool couldUndo = processor.undoManager->canUndo();

    auto loaded = file;
    if (! processor.loadPresetState (loaded))
    {
        juce::MemoryBlock after;
        processor.getStateData (after, true);
        fuzz::require (fuzz::sameBytes (after, before), "after == before");
        fuzz::require (processor.undoManager->canUndo() == couldUndo, "processor.undoManager->canUndo() == couldUndo");
        return 0;
    }

    // A load is one step, and its undo restores what was there before.
    fuzz::require (processor.undoManager->canUndo(), "processor.undoManager->canUndo()");
    processor.undoManager->undo();
    juce::MemoryBlock undone;
    processor.getStateData (undone, true);
    fuzz::require (fuzz::sameBytes (undone, before), "undone == before");
    return 0;
}
