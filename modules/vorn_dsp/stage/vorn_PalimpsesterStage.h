#pragma once

namespace juce::vorn_dsp
{

/** One stage of the effect: resamples its input onto a grid of equal
    segments, mirrors every group of N segments onto itself by the mix,
    resamples back and delivers the result D samples later through a high
    shelf. The multistage calls `process` once per block. */
template <typename FloatType>
class PalimpsesterStage
{
public:
    /** The segment length in microseconds; its tracked value is in seconds. */
    template <typename T>
    class SecondsTrackingMicrosecondsArg_v2 final : public FloatArg_v2<T, true>
    {
    public:
        explicit SecondsTrackingMicrosecondsArg_v2 (T initialMicroseconds)
        {
            this->initialise (initialMicroseconds);
        }

        T trackingValue (T x) override { return x * (T) 0.000001; }
    };

    /** The stage's high shelf at 12300 Hz, Q 0.9, whose gain follows the tone
        percentage: tone x 0.56 - 56 dB (0 gives -56 dB, 100 gives 0 dB). */
    template <typename T>
    class ToneFilter final : public HighShelfFilter<T>
    {
    public:
        ToneFilter()
        {
            tone.name = "Presence";
            tone.postfix = "%";

            this->frequency.initialise (12300);
            this->q.initialise ((T) 0.9);
            this->gain.initialise (gainForTone (50));
            this->appliedFrequency = 12300;
            this->appliedQ = (T) 0.9;
            this->appliedGain = gainForTone (50);
            this->computeCoefficients (this->appliedFrequency, this->appliedQ, this->appliedGain);
        }

        static T gainForTone (T tonePercent) noexcept { return tonePercent * (T) 0.56 - 56; }

        FloatArgNoRamp_v2<T> tone { 50 };
        T lastTone = 50;

    protected:
        void _checkCoeffs() override
        {
            const auto value = tone.value.load();

            if (value == lastTone)
                return;

            lastTone = value;
            this->gain.setTarget (gainForTone (value));
        }

        /** A reset leaves the shelf at rest at the gain of the present tone,
            with coefficients to match, instead of ramping there from the
            tone it was built with. */
        void _reset() override
        {
            lastTone = tone.value.load();
            this->gain.setTarget (gainForTone (lastTone));
            HighShelfFilter<T>::_reset();

            this->appliedFrequency = this->frequency.current;
            this->appliedQ = this->q.current;
            this->appliedGain = this->gain.current;
            this->computeCoefficients (this->appliedFrequency, this->appliedQ, this->appliedGain);
            this->active = ! this->gain.isAtRest (0);
        }
    };

    using InputBlock = dsp::AudioBlock<const FloatType>;
    using OutputBlock = dsp::AudioBlock<FloatType>;

    PalimpsesterStage()
    {
        segmentSize.name = "Segment Size";
        segmentSize.postfix = "<microseconds>";
        numSegments.name = "N";
        mix.name = "Mix";
        mix.postfix = "%";
    }

    /** Sizes everything that does not depend on the latency. */
    void prepare (const dsp::ProcessSpec& setup, int segmentCapacity)
    {
        sampleRate = (FloatType) setup.sampleRate;
        numChannels = (int) setup.numChannels;
        segmentSize.setQueueSize (segmentCapacity);
        mix.setQueueSize (segmentCapacity);
        toneFilter.prepare (setup);
        interpolators.assign ((size_t) (2 * numChannels), LagrangeInterpolator_4Points<FloatType>());
    }

    /** Restarts the stage with a latency of `latency` samples of silence. */
    void reset (int latency)
    {
        segmentSize.resetForSampleRate (sampleRate);
        mix.resetForSampleRate (sampleRate);
        segmentSeconds = segmentSize.tracked.load();

        inputQueue.reset (numChannels, latency, 0);
        outputQueue.reset (numChannels, 2 * latency, latency);

        // Per channel, room for every captured sample, p0 before them and
        // two held look-ahead points after them (and a few more that the
        // eight-lane kernel loads without using); and for one batch's output.
        capturedStride = latency + 8;
        resampledStride = latency + 1;
        capturedScratch.assign ((size_t) (capturedStride * jmax (1, numChannels)), FloatType (0));
        resampledScratch.assign ((size_t) (resampledStride * jmax (1, numChannels)), FloatType (0));
        fresh = true;

        for (auto& interpolator : interpolators)
            interpolator = {};

        toneFilter.reset();
    }

    /** Whether the mix sits at exactly 0: such a stage is silent. */
    bool isSilent() noexcept { return mix.isAtRest (0); }

    void process (const InputBlock& input,
                  int numSamples,
                  CircularBuffer<FloatType>& segmentBuffer,
                  OutputBlock& output,
                  FloatType gain,
                  bool accumulate,
                  bool firstWriter,
                  bool discard) noexcept
    {
        capture (input, numSamples);
        processBatch (segmentBuffer);

        if (discard)
        {
            for (int c = 0; c < numChannels; ++c)
                outputQueue.discard (c, numSamples);

            return;
        }

        deliver (output, numSamples, gain, accumulate && ! firstWriter);

        toneFilter.checkCoeffs (numSamples);

        if (toneFilter.active)
        {
            auto region = output.getSubBlock (0, (size_t) numSamples);
            toneFilter.filterInPlace (region, numSamples);
        }
    }

    ToneFilter<FloatType> toneFilter;
    SecondsTrackingMicrosecondsArg_v2<FloatType> segmentSize { 50 };
    IntArg_v2 numSegments { 2 };
    PercentArg_v2<FloatType> mix { 100 };
    int numChannels = 0;
    FloatType sampleRate = 44100;
    FloatType segmentSeconds = (FloatType) 0.00005;
    CircularBufferQueue<FloatType> inputQueue;
    CircularBufferQueue<FloatType> outputQueue;
    /** Per channel: [c] resamples to the segment grid, [numChannels + c]
        back. Only their p1, which starts the next batch, is carried. */
    std::vector<LagrangeInterpolator_4Points<FloatType>> interpolators;
    bool fresh = true;

private:
    void capture (const InputBlock& input, int numSamples) noexcept
    {
        const auto channels = jmin (numChannels, (int) input.getNumChannels());

        for (int c = 0; c < channels; ++c)
            inputQueue.push (c, input.getChannelPointer ((size_t) c), numSamples);
    }

    void processBatch (CircularBuffer<FloatType>& segmentBuffer) noexcept
    {
        if (numChannels <= 0)
            return;

        const int N = numSegments.value.load();
        const auto L = segmentSeconds * sampleRate;
        const int S = (int) std::floor ((FloatType) (inputQueue.available[0] - 1) / L);
        const int G = N >= 2 ? S / N : 0;

        if (G <= 0)
            return;

        const int M = G * N;
        jassert (M + 2 <= segmentBuffer.size);
        int T = 1;

        // Channels go through the kernels in pairs, which share the work
        // on positions.
        for (int c = 0; c < numChannels; c += 2)
            T = resampleToSegments (c, jmin (2, numChannels - c), segmentBuffer, L, M);

        const auto mixPlan = advanceArguments (T);

        for (int c = 0; c < numChannels; ++c)
            mirror (segmentValues (segmentBuffer, c), G, N, M, T, mixPlan);

        if (mixPlan == MixPlan::perGroup)
            mix.releaseQueue();

        for (int c = 0; c < numChannels; c += 2)
            resampleToAudio (c, jmin (2, numChannels - c), segmentBuffer, L, M, T);

        fresh = false;
    }

    /** The segment buffer is scratch memory shared by the stages; each
        channel uses its own contiguous region, whose first and last used
        entries frame the batch for the return resampling. */
    static FloatType* segmentValues (CircularBuffer<FloatType>& segmentBuffer, int channel) noexcept
    {
        return segmentBuffer.data.data() + (size_t) channel * (size_t) segmentBuffer.size + 1;
    }

    /** Resamples `count` (1 or 2) channels from `first` on; returns T. */
    int resampleToSegments (int first, int count, CircularBuffer<FloatType>& segmentBuffer, FloatType L, int M) noexcept
    {
        const FloatType* points[2] {};
        FloatType* segments[2] {};

        for (int j = 0; j < count; ++j)
        {
            points[j] = gatherCapturedPoints (first + j);
            segments[j] = segmentValues (segmentBuffer, first + j);
        }

        const auto T = count == 2 ? segment_kernels::resampleToSegments<2> (points, L, M, segments)
                                  : segment_kernels::resampleToSegments<1> (points, L, M, segments);

        for (int j = 0; j < count; ++j)
        {
            // The sample taken out last becomes the next batch's p0.
            const auto* p = points[j];
            interpolators[(size_t) (first + j)].start (p[T - 1], p[T], p[T + 1], p[T + 2]);
            inputQueue.discard (first + j, T);
        }

        return T;
    }

    /** Channel c's captured samples, framed by p0 before them and the newest
        one held twice after them. */
    const FloatType* gatherCapturedPoints (int c) noexcept
    {
        const auto available = inputQueue.available[(size_t) c];
        auto* points = capturedScratch.data() + (size_t) (c * capturedStride);

        points[0] = fresh ? FloatType (0) : interpolators[(size_t) c].point (1);
        inputQueue.buffer.read (c, available - 1, points + 1, available);
        points[available + 1] = points[available + 2] = points[available];
        return points;
    }

    enum class MixPlan { exchange, leave, perGroup, tracked };

    /** Advances the mix by T steps and the segment length by T samples, and
        says how this batch mixes. */
    MixPlan advanceArguments (int T) noexcept
    {
        const bool mixQueued = mix.tryFillQueueStepByStep (T);

        if (segmentSize.trySkipAndQueueOne (T))
        {
            segmentSeconds = segmentSize.queue.empty() ? segmentSize.tracked.load() : segmentSize.queue.front();
            segmentSize.releaseQueue();
        }
        else
        {
            segmentSeconds = segmentSize.tracked.load();
        }

        if (! mixQueued)
            return MixPlan::tracked;

        if (mix.queue.size() == 1 && (mix.queue[0] == 1 || mix.queue[0] == 0))
        {
            const auto exchange = mix.queue[0] == 1;
            mix.releaseQueue();
            return exchange ? MixPlan::exchange : MixPlan::leave;
        }

        return MixPlan::perGroup;
    }

    void mirror (FloatType* values, int G, int N, int M, int T, MixPlan plan) noexcept
    {
        switch (plan)
        {
            case MixPlan::exchange:
                segment_kernels::exchangePairs (values, G, N);
                break;

            case MixPlan::leave:
                break;

            case MixPlan::perGroup:
            {
                const auto ratio = (FloatType) T / (FloatType) M;
                const auto* queue = mix.queue.data();
                const auto lastIndex = mix.queueIndex;
                // The product is never negative: truncation is its floor.
                segment_kernels::mixPairs (values, G, N, [=] (int g)
                {
                    return queue[jmin (lastIndex, (int) ((FloatType) (g * N) * ratio))];
                });
                break;
            }

            case MixPlan::tracked:
            {
                const auto K = mix.tracked.load();
                segment_kernels::mixPairs (values, G, N, [K] (int) { return K; });
                break;
            }
        }
    }

    /** Resamples `count` (1 or 2) channels from `first` on back to the
        audio rate and queues the result for delivery. */
    void resampleToAudio (int first, int count, CircularBuffer<FloatType>& segmentBuffer, FloatType L, int M, int T) noexcept
    {
        const FloatType* values[2] {};
        FloatType* resampled[2] {};
        FloatType lastP1[2] {};

        for (int j = 0; j < count; ++j)
        {
            const auto c = first + j;
            auto* framed = segmentValues (segmentBuffer, c) - 1;
            framed[0] = fresh ? FloatType (0) : interpolators[(size_t) (numChannels + c)].point (1);
            framed[M + 1] = framed[M];
            values[j] = framed;
            resampled[j] = resampledScratch.data() + (size_t) (c * resampledStride);
        }

        if (count == 2)
            segment_kernels::resampleToAudio<2> (values, L, M, T, resampled, lastP1);
        else
            segment_kernels::resampleToAudio<1> (values, L, M, T, resampled, lastP1);

        for (int j = 0; j < count; ++j)
        {
            const auto c = first + j;
            interpolators[(size_t) (numChannels + c)].start (0, lastP1[j], 0, 0);

            const auto room = outputQueue.capacity - outputQueue.available[(size_t) c];
            outputQueue.push (c, resampled[j], jmin (T, room));
        }
    }

    void deliver (OutputBlock& output, int numSamples, FloatType gain, bool add) noexcept
    {
        const auto channels = jmin (numChannels, (int) output.getNumChannels());

        for (int c = 0; c < channels; ++c)
        {
            auto* destination = output.getChannelPointer ((size_t) c);
            const auto waiting = outputQueue.available[(size_t) c];
            const auto n = jmin (waiting, numSamples);

            if (add)
            {
                if (gain <= 0)
                {
                    outputQueue.discard (c, numSamples);
                    continue;
                }

                auto* popped = resampledScratch.data();
                outputQueue.pop (c, popped, n);
                FloatVectorOperations::addWithMultiply (destination, popped, gain, n);
                continue;
            }

            const auto scale = gain > 0 ? gain : FloatType (1);
            outputQueue.pop (c, destination, n);

            if (scale != 1)
                FloatVectorOperations::multiply (destination, scale, n);

            if (n < numSamples)
                std::fill (destination + n, destination + numSamples, FloatType (0));
        }
    }

    std::vector<FloatType> capturedScratch;
    std::vector<FloatType> resampledScratch;
    int capturedStride = 0, resampledStride = 0;
};

} // namespace juce::vorn_dsp
