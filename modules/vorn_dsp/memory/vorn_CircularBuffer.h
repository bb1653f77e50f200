#pragma once

namespace juce::vorn_dsp
{

/** A multi-channel ring of samples in one power-of-two vector. Channel c
    starts writing at c * size; every channel advances by one per written
    sample, so the channels' most recent `size` samples never overlap. */
template <typename FloatType>
struct CircularBuffer
{
    std::vector<FloatType> data;
    std::vector<int> positions;
    int numChannels = 0;
    int size = 0;
    int mask = 0;

    /** Sizes the ring for `newNumChannels` x `newSize` samples and clears it.
        Reuses the storage when the figures have not grown. */
    void reset (int newNumChannels, int newSize)
    {
        if (newNumChannels != numChannels || newSize != size || data.empty())
        {
            numChannels = newNumChannels;
            size = newSize;
            mask = (int) nextPowerOfTwo (jmax (2, numChannels * size)) - 1;
        }

        positions.resize ((size_t) jmax (0, numChannels));
        for (int c = 0; c < numChannels; ++c)
            positions[(size_t) c] = c * size;

        data.assign ((size_t) mask + 1, FloatType (0));
    }

    void write (int channel, FloatType x) noexcept
    {
        auto& position = positions[(size_t) channel];
        position = (position + 1) & mask;
        data[(size_t) position] = x;
    }

    /** Writes n samples in order; the same as n calls of `write`. */
    void write (int channel, const FloatType* source, int n) noexcept
    {
        auto& position = positions[(size_t) channel];
        int start = (position + 1) & mask;

        while (n > 0)
        {
            const auto run = jmin (n, mask + 1 - start);
            std::copy (source, source + run, data.data() + start);
            source += run;
            n -= run;
            position = (start + run - 1) & mask;
            start = 0;
        }
    }

    /** The sample `delay` samples back from the newest (0 is the newest). */
    FloatType read (int channel, int delay) const noexcept
    {
        return data[(size_t) ((positions[(size_t) channel] - delay) & mask)];
    }

    /** Copies n consecutive samples, oldest first, the oldest being
        `delayOfOldest` samples back from the newest. */
    void read (int channel, int delayOfOldest, FloatType* destination, int n) const noexcept
    {
        int start = (positions[(size_t) channel] - delayOfOldest) & mask;

        while (n > 0)
        {
            const auto run = jmin (n, mask + 1 - start);
            std::copy (data.data() + start, data.data() + start + run, destination);
            destination += run;
            n -= run;
            start = 0;
        }
    }
};

/** The ring used as a per-channel first-in-first-out queue. Pushing beyond
    the capacity drops the oldest unread samples. */
template <typename FloatType>
struct CircularBufferQueue
{
    CircularBuffer<FloatType> buffer;
    std::vector<int> available;
    int numChannels = 0;
    int capacity = 0;

    /** Sizes and clears the queue, then lets it start with `prefill`
        samples of silence waiting to be read. */
    void reset (int newNumChannels, int newCapacity, int prefill)
    {
        numChannels = newNumChannels;
        capacity = newCapacity;
        buffer.reset (numChannels, capacity);

        const auto waiting = jmax (0, jmin (capacity, prefill));
        available.assign ((size_t) jmax (0, numChannels), waiting);

        // The ring is all zeros after its reset: writing the silence only
        // moves the write positions.
        for (auto& position : buffer.positions)
            position = (position + waiting) & buffer.mask;
    }

    void push (int channel, const FloatType* source, int n) noexcept
    {
        auto& count = available[(size_t) channel];
        count = jmin (count + n, capacity);
        buffer.write (channel, source, n);
    }

    /** Pops the k <= available oldest samples into `destination`. */
    void pop (int channel, FloatType* destination, int k) noexcept
    {
        auto& count = available[(size_t) channel];
        buffer.read (channel, count - 1, destination, k);
        count -= k;
    }

    /** The j-th oldest unread sample, without popping it. */
    FloatType peek (int channel, int j) const noexcept
    {
        return buffer.read (channel, available[(size_t) channel] - 1 - j);
    }

    void discard (int channel, int k) noexcept
    {
        auto& count = available[(size_t) channel];
        count = jmax (count - k, 0);
    }
};

} // namespace juce::vorn_dsp
