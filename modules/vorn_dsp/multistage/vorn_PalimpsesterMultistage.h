#pragma once

namespace juce::vorn_dsp
{

/** The whole effect: stages in series or in parallel, a dry line, and the
    routing between them, all delayed by one fixed latency.

    Every stage delays by D samples (one block, the span of the longest
    group and 6). Three stages in series delay by 3 D, so every path is
    held at 3 D, which is what the host is told:
    - series: the chain itself;
    - parallel: the stages read the input 2 D late from the dry line;
    - all stages silent, and bypass: the dry line, 3 D long.
    When the stages' inputs change (a mode change, or the chain starting
    again after all stages were silent in series), the stages restart from
    silence and the dry line bridges until their output is valid, with a
    short crossfade back to the effect. */
template <typename FloatType, int NumStages>
class PalimpsesterMultistage : public Processor<FloatType>
{
public:
    using typename Processor<FloatType>::InputBlock;
    using typename Processor<FloatType>::OutputBlock;

    explicit PalimpsesterMultistage (std::vector<std::string> modeChoices)
        : mode (std::move (modeChoices), 0)
    {
        mode.name = "Mode";

        for (int i = 0; i < NumStages; ++i)
            stages.push_back (std::make_unique<PalimpsesterStage<FloatType>>());
    }

    /** The delay of every path, reported to the host. */
    int getLatencySamples() const noexcept { return totalLatency; }

    ChoiceArg_v2 mode;
    int maxSegments = 91;
    FloatType maxSegmentSeconds = (FloatType) 0.000048;
    FloatType minSegmentSeconds = (FloatType) 0.000001;
    int numChannels = 0;
    int maxBlockSize = 0;
    int segmentCapacity = 0;
    int latencyLength = 0;   // D, the delay of one stage
    int totalLatency = 0;    // 3 D
    CircularBuffer<FloatType> segmentBuffer;
    CircularBufferQueue<FloatType> dryQueue;
    std::vector<std::unique_ptr<PalimpsesterStage<FloatType>>> stages;
    bool stageSilent[(size_t) NumStages] {};

    static constexpr int crossfadeLength = 64;
    static constexpr const char* seriesName = "Series";

protected:
    /** What the stages' queues currently hold the input of. */
    enum class Pipeline { none, chain, parallel };

    void _prepare (const dsp::ProcessSpec& setup) override
    {
        numChannels = (int) setup.numChannels;
        maxBlockSize = (int) setup.maximumBlockSize;
        latencyLength = maxBlockSize + (int) std::floor ((FloatType) maxSegments * maxSegmentSeconds * this->sampleRate) + 6;
        totalLatency = NumStages * latencyLength;
        segmentCapacity = (int) std::floor ((FloatType) latencyLength / (this->sampleRate * minSegmentSeconds)) + 3;

        for (auto& stage : stages)
            stage->prepare (setup, segmentCapacity);

       #if VORN_DSP_AVX2
        // Asking the processor what it has reads system files: done here,
        // never for the first time on the audio thread.
        avx2::isAvailable();
       #endif

        scratch.setSize (jmax (1, numChannels), jmax (1, maxBlockSize), false, false, true);
    }

    void _reset() override
    {
        segmentBuffer.reset (numChannels, segmentCapacity);
        dryQueue.reset (numChannels, totalLatency + maxBlockSize, totalLatency);

        for (auto& stage : stages)
            stage->reset (latencyLength);

        for (auto& silent : stageSilent)
            silent = false;

        pipeline = Pipeline::none;
        bridgeRemaining = 0;
        fadeRemaining = 0;
    }

    void _process (const InputBlock& input, OutputBlock& output) override
    {
        const auto n = jmin ((int) output.getNumSamples(), maxBlockSize);
        const auto channels = jmin (numChannels, (int) input.getNumChannels(), (int) output.getNumChannels());

        captureDry (input, n, channels);

        int sounding = 0;

        for (int s = 0; s < NumStages; ++s)
        {
            const bool silent = stages[(size_t) s]->isSilent();

            if (! silent && stageSilent[s])
                stages[(size_t) s]->toneFilter.reset();

            stageSilent[s] = silent;
            sounding += silent ? 0 : 1;
        }

        const bool series = mode.currentName() == seriesName;
        const auto wanted = series ? (sounding > 0 ? Pipeline::chain : Pipeline::none) : Pipeline::parallel;

        if (wanted != Pipeline::none && wanted != pipeline)
            restartStages (wanted == Pipeline::chain ? totalLatency : latencyLength);

        pipeline = wanted;

        if (series)
            processSeries (input, output, n, channels, sounding);
        else
            processParallel (output, n, channels, sounding);

        deliverDry (output, n, channels, sounding == 0);
    }

    void _processBypassed (const InputBlock& input, OutputBlock& output) override
    {
        const auto n = jmin ((int) output.getNumSamples(), maxBlockSize);
        const auto channels = jmin (numChannels, (int) input.getNumChannels(), (int) output.getNumChannels());

        captureDry (input, n, channels);
        popDry (output, n, channels);

        // The stages did not hear this block: their queues are out of step.
        pipeline = Pipeline::none;
    }

private:
    void processSeries (const InputBlock& input, OutputBlock& output, int n, int channels, int sounding) noexcept
    {
        for (int c = 0; c < channels; ++c)
        {
            const auto* from = input.getChannelPointer ((size_t) c);
            auto* to = output.getChannelPointer ((size_t) c);

            if (from != to)
                std::copy (from, from + n, to);
        }

        for (int s = 0; s < NumStages; ++s)
        {
            const InputBlock stageInput (output);
            stages[(size_t) s]->process (stageInput, n, segmentBuffer, output,
                                         stageSilent[s] ? FloatType (0) : FloatType (1),
                                         false, false, sounding == 0);
        }
    }

    /** Every stage hears the input as it was 2 D ago, read from the dry
        line, so their sum comes out 3 D late like the chain. */
    void processParallel (OutputBlock& output, int n, int channels, int sounding) noexcept
    {
        for (int c = 0; c < channels; ++c)
            dryQueue.buffer.read (c, n - 1 + 2 * latencyLength, scratch.getWritePointer (c), n);

        const InputBlock stageInput (scratch.getArrayOfReadPointers(), (size_t) channels, (size_t) n);
        bool earlierAllSilent = true;

        for (int s = 0; s < NumStages; ++s)
        {
            const auto gain = stageSilent[s] ? FloatType (0) : FloatType (1);
            stages[(size_t) s]->process (stageInput, n, segmentBuffer, output, gain,
                                         true, sounding > 0 && earlierAllSilent, sounding == 0);
            earlierAllSilent = earlierAllSilent && stageSilent[s];
        }
    }

    void restartStages (int bridgeLength)
    {
        for (auto& stage : stages)
            stage->reset (latencyLength);

        bridgeRemaining = bridgeLength;
        fadeRemaining = crossfadeLength;
    }

    void captureDry (const InputBlock& input, int n, int channels) noexcept
    {
        for (int c = 0; c < channels; ++c)
            dryQueue.push (c, input.getChannelPointer ((size_t) c), n);
    }

    /** The dry line's output: the input 3 D ago. Keeps the line at 3 D. */
    void popDry (OutputBlock& output, int n, int channels) noexcept
    {
        for (int c = 0; c < channels; ++c)
            dryQueue.pop (c, output.getChannelPointer ((size_t) c), n);
    }

    /** Takes the block's share of the dry line (the input 3 D ago) and
        puts it out where the stages have nothing valid: everywhere when all
        stages are silent, and while restarted stages refill, followed by a
        short crossfade back to them. Keeps the line at 3 D either way. */
    void deliverDry (OutputBlock& output, int n, int channels, bool dryOnly) noexcept
    {
        if (dryOnly)
        {
            popDry (output, n, channels);
            advanceBridge (n);
            return;
        }

        if (bridgeRemaining <= 0 && fadeRemaining <= 0)
        {
            for (int c = 0; c < channels; ++c)
                dryQueue.discard (c, n);

            return;
        }

        for (int c = 0; c < channels; ++c)
            dryQueue.pop (c, scratch.getWritePointer (c), n);

        for (int i = 0; i < n; ++i)
        {
            const auto wet = wetWeightOfNextSample();

            for (int c = 0; c < channels; ++c)
            {
                auto* out = output.getChannelPointer ((size_t) c);
                const auto dry = scratch.getSample (c, i);
                out[i] = wet == 0 ? dry : dry + wet * (out[i] - dry);
            }
        }
    }

    FloatType wetWeightOfNextSample() noexcept
    {
        if (bridgeRemaining > 0)
        {
            --bridgeRemaining;
            return 0;
        }

        if (fadeRemaining > 0)
            return (FloatType) (crossfadeLength - --fadeRemaining) / (FloatType) (crossfadeLength + 1);

        return 1;
    }

    void advanceBridge (int n) noexcept
    {
        for (int i = 0; i < n && (bridgeRemaining > 0 || fadeRemaining > 0); ++i)
            wetWeightOfNextSample();
    }

    AudioBuffer<FloatType> scratch;
    Pipeline pipeline = Pipeline::none;
    int bridgeRemaining = 0;
    int fadeRemaining = 0;
};

} // namespace juce::vorn_dsp
