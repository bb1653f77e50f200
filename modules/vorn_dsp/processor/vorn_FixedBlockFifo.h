#pragma once

namespace juce::vorn_dsp
{

/** Runs a block processor in blocks of exactly `blockSize` samples, whatever
    the caller's block sizes: host samples go into an input FIFO, every full
    block is processed, and the caller gets samples back from an output FIFO
    that starts with one block of silence. The whole costs a delay of one
    block and makes the processor's output independent of how the host cuts
    its audio: the same input gives the same output at any buffer size,
    split anywhere. */
template <typename FloatType>
class FixedBlockFifo
{
public:
    using Block = dsp::AudioBlock<FloatType>;

    /** Sizes the FIFOs; not on the audio thread. */
    void prepare (int numChannels, int samplesPerBlock)
    {
        blockSize = jmax (1, samplesPerBlock);
        channels = jmax (0, numChannels);
        incoming.setSize (jmax (1, channels), blockSize, false, false, true);
        outgoing.setSize (jmax (1, channels), blockSize, false, false, true);
        reset();
    }

    /** Empties both FIFOs: one block of silence waits to come out. */
    void reset() noexcept
    {
        incoming.clear();
        outgoing.clear();
        position = 0;
    }

    /** The delay the FIFOs add, in samples. */
    int getLatencySamples() const noexcept { return blockSize; }

    int getBlockSize() const noexcept { return blockSize; }

    /** Replaces `numSamples` samples of each of `numChannels` channels by
        what comes out of the FIFO; `processFullBlock` is called with a block
        of exactly `blockSize` samples, to be processed in place, whenever the
        input FIFO is full. Channels beyond the prepared count are left as
        they are. */
    template <typename ProcessFullBlock>
    void process (FloatType* const* data, int numChannels, int numSamples, ProcessFullBlock&& processFullBlock)
    {
        const auto used = jmin (numChannels, channels);

        for (int done = 0; done < numSamples;)
        {
            const auto n = jmin (numSamples - done, blockSize - position);

            for (int c = 0; c < used; ++c)
            {
                auto* hostSamples = data[c] + done;
                std::copy (hostSamples, hostSamples + n, incoming.getWritePointer (c, position));
                std::copy (outgoing.getReadPointer (c, position), outgoing.getReadPointer (c, position) + n, hostSamples);
            }

            position += n;
            done += n;

            if (position == blockSize)
            {
                Block block (incoming.getArrayOfWritePointers(), (size_t) used, (size_t) blockSize);
                processFullBlock (block);

                // The processed block is what comes out next; the old output
                // has been handed out and its buffer takes the next input.
                std::swap (incoming, outgoing);
                position = 0;
            }
        }
    }

private:
    AudioBuffer<FloatType> incoming, outgoing;
    int blockSize = 1;
    int channels = 0;
    int position = 0;
};

} // namespace juce::vorn_dsp
