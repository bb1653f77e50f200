#pragma once

// A literal rendering of one stage's block processing: rotating four-point
// interpolators advanced sample by sample, segment values in the masked ring,
// pops and peeks on the queues. The library's stage computes the same
// arithmetic in a different order of work; the tests hold the two bit for
// bit together.

#include <vorn_dsp/vorn_dsp.h>

namespace reference
{
using namespace juce::vorn_dsp;

class Stage
{
public:
    using Block = juce::dsp::AudioBlock<float>;
    using ConstBlock = juce::dsp::AudioBlock<const float>;

    void prepare (const juce::dsp::ProcessSpec& setup, int segmentCapacity)
    {
        sampleRate = (float) setup.sampleRate;
        numChannels = (int) setup.numChannels;
        segmentSize.setQueueSize (segmentCapacity);
        mix.setQueueSize (segmentCapacity);
        toneFilter.prepare (setup);
        interpolators.assign ((size_t) (2 * numChannels), LagrangeInterpolator_4Points<float>());
        segments.reset (numChannels, segmentCapacity);
    }

    void reset (int latency)
    {
        segmentSize.resetForSampleRate (sampleRate);
        mix.resetForSampleRate (sampleRate);
        segmentSeconds = segmentSize.tracked.load();
        inputQueue.reset (numChannels, latency, 0);
        outputQueue.reset (numChannels, 2 * latency, latency);
        fresh = true;
        toneFilter.reset();
    }

    void process (const ConstBlock& input, int numSamples, Block& output, float gain, bool accumulate, bool firstWriter, bool discard)
    {
        for (int c = 0; c < numChannels; ++c)
            for (int i = 0; i < numSamples; ++i)
                push (inputQueue, c, input.getSample (c, i));

        const int N = numSegments.value.load();
        const float L = segmentSeconds * sampleRate;
        const int S = (int) std::floor ((float) (inputQueue.available[0] - 1) / L);
        const int G = S / N;

        if (G > 0)
            batch (G, N, L);

        if (discard)
        {
            for (int c = 0; c < numChannels; ++c)
                inputDiscard (outputQueue, c, numSamples);
            return;
        }

        for (int c = 0; c < numChannels; ++c)
        {
            const int A = outputQueue.available[(size_t) c];
            const int n = std::min (A, numSamples);

            if (accumulate && ! firstWriter)
            {
                if (gain > 0)
                    for (int i = 0; i < n; ++i)
                        output.addSample (c, i, gain * pop (outputQueue, c));
                else
                    inputDiscard (outputQueue, c, numSamples);
                continue;
            }

            const float x = gain > 0 ? gain : 1.0f;
            for (int i = 0; i < n; ++i)
                output.setSample (c, i, x == 1.0f ? pop (outputQueue, c) : x * pop (outputQueue, c));
            for (int i = n; i < numSamples; ++i)
                output.setSample (c, i, 0.0f);
        }

        toneFilter.checkCoeffs (numSamples);
        if (toneFilter.active)
        {
            auto region = output.getSubBlock (0, (size_t) numSamples);
            toneFilter.filterInPlace (region, numSamples);
        }
    }

    PalimpsesterStage<float>::ToneFilter<float> toneFilter;
    PalimpsesterStage<float>::SecondsTrackingMicrosecondsArg_v2<float> segmentSize { 50 };
    IntArg_v2 numSegments { 2 };
    PercentArg_v2<float> mix { 100 };

private:
    static void push (CircularBufferQueue<float>& q, int c, float x)
    {
        q.available[(size_t) c] = std::min (q.available[(size_t) c] + 1, q.capacity);
        q.buffer.write (c, x);
    }

    static float pop (CircularBufferQueue<float>& q, int c)
    {
        const float x = q.peek (c, 0);
        q.available[(size_t) c] -= 1;
        return x;
    }

    static void inputDiscard (CircularBufferQueue<float>& q, int c, int k) { q.discard (c, k); }

    /** The j-th captured sample not yet taken, or the newest one held when
        the look-ahead reaches beyond it. */
    float captured (int c, int j) const
    {
        const int available = inputQueue.available[(size_t) c];
        return j < available ? inputQueue.peek (c, j) : inputQueue.buffer.read (c, 0);
    }

    float segmentAt (int c, int distance) const { return segments.read (c, distance); }

    void batch (int G, int N, float L)
    {
        const int M = G * N;
        int T = 1;

        for (int c = 0; c < numChannels; ++c)
        {
            auto& I = interpolators[(size_t) c];
            const float p0 = fresh ? 0.0f : I.point (1);
            const float p1 = pop (inputQueue, c);
            I.start (p0, p1, captured (c, 0), captured (c, 1));
            segments.write (c, p1);

            int e = 1;
            int taken = 1;
            for (int k = 1; k < M; ++k)
            {
                const float x = (float) k * L;
                while (x > (float) e)
                {
                    ++e;
                    if (inputQueue.available[(size_t) c] > 0)
                        pop (inputQueue, c);
                    ++taken;
                    I.advance (captured (c, 1));
                }
                segments.write (c, x == (float) e ? I.point (2) : I.evaluate (x - std::floor (x)));
            }

            if (c == 0)
                T = taken;
        }

        const bool mixQueued = mix.tryFillQueueStepByStep (T);
        if (segmentSize.trySkipAndQueueOne (T))
        {
            segmentSeconds = segmentSize.queue[0];
            segmentSize.releaseQueue();
        }
        else
        {
            segmentSeconds = segmentSize.tracked.load();
        }

        bool shortcutOne = false, shortcutZero = false, heldQueue = mixQueued;
        if (mixQueued && mix.queue.size() == 1 && (mix.queue[0] == 1.0f || mix.queue[0] == 0.0f))
        {
            shortcutOne = mix.queue[0] == 1.0f;
            shortcutZero = ! shortcutOne;
            mix.releaseQueue();
            heldQueue = false;
        }

        for (int c = 0; c < numChannels; ++c)
        {
            auto& data = segments.data;
            auto index = [&] (int value) { return (size_t) ((segments.positions[(size_t) c] - (M - 1 - value)) & segments.mask); };

            for (int g = 0; g < G; ++g)
            {
                float K = mix.tracked.load();
                if (heldQueue)
                    K = mix.queue[(size_t) std::min (mix.queueIndex, (int) std::floor ((float) (g * N) * ((float) T / (float) M)))];

                for (int j = 0; j < N / 2; j += 2)
                {
                    auto& a = data[index (g * N + j)];
                    auto& b = data[index (g * N + N - 1 - j)];

                    if (shortcutZero)
                        continue;
                    if (shortcutOne)
                    {
                        std::swap (a, b);
                        continue;
                    }
                    if (K <= 0)
                        continue;

                    const float av = a, bv = b;
                    float v = av + K * (bv - av);
                    if (av != 0 && bv != 0 && ((av > 0) == (bv > 0)))
                    {
                        if (K <= 1)
                            v = av < bv ? std::min (v, bv) : std::max (v, bv);
                        else
                            v = av < bv ? std::max (v, bv) : std::min (v, bv);
                    }
                    a = v;
                    b = av + bv - v;
                }
            }
        }

        if (heldQueue)
            mix.releaseQueue();

        for (int c = 0; c < numChannels; ++c)
        {
            auto& J = interpolators[(size_t) (numChannels + c)];
            auto value = [&] (int distance) { return distance >= 0 ? segmentAt (c, distance) : segmentAt (c, 0); };
            J.start (fresh ? 0.0f : J.point (1), value (M - 1), value (M - 2), value (M - 3));

            std::vector<float> out;
            out.push_back (J.point (1));
            int r = M - 2;
            bool linear = false;

            for (int k = 1; k < T; ++k)
            {
                const float d = (float) (M - 1) - (float) k / L;

                if (! linear)
                {
                    while (r > d && r >= 2)
                    {
                        J.advance (value (r - 2));
                        --r;
                    }

                    if (r <= d)
                    {
                        out.push_back (d == (float) r ? J.point (2) : J.evaluate ((float) (r + 1) - d));
                        continue;
                    }

                    linear = true;
                }

                const float dd = std::max (0.0f, d);
                const int i = (int) std::floor (dd);
                const float f = dd - (float) i;
                const float u = value (i), o = value (i + 1);
                float y = f == 0 ? u : u * (1 - f) + o * f;
                if (f != 0 && u != 0 && o != 0 && ((u > 0) == (o > 0)))
                    y = std::clamp (y, std::min (u, o), std::max (u, o));
                out.push_back (y);
            }

            for (float y : out)
                if (outputQueue.available[(size_t) c] < outputQueue.capacity)
                    push (outputQueue, c, y);
        }

        fresh = false;
    }

    int numChannels = 0;
    float sampleRate = 44100;
    float segmentSeconds = 0.00005f;
    CircularBufferQueue<float> inputQueue, outputQueue;
    CircularBuffer<float> segments;
    std::vector<LagrangeInterpolator_4Points<float>> interpolators;
    bool fresh = true;
};
} // namespace reference
