namespace juce::vorn_gui
{

void applyBitShift (MemoryBlock& block, int shift)
{
    BigInteger number;
    number.loadFromMemoryBlock (block);

    if (! number.isZero() && shift != 0)
        number.shiftBits (shift, 0);

    block = number.toMemoryBlock();
}

} // namespace juce::vorn_gui
