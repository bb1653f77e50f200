#pragma once

namespace juce::vorn_gui
{

/** Reads the block as one unsigned number, byte 0 least significant,
    multiplies it by 2^shift (divides, dropping the remainder, for a negative
    shift) and writes it back in as few bytes as hold it: leading zero bytes
    at the high end are dropped, and zero becomes an empty block. Preset
    files are state blocks shifted by a fixed positive count. */
void applyBitShift (MemoryBlock& block, int shift);

} // namespace juce::vorn_gui
