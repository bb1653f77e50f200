// CPU cost of block processing, stereo, 512-sample blocks.
//   realtime_x         seconds of audio processed per second of CPU time
//   cpu_ms_per_audio_s milliseconds of CPU time per second of audio
// With PALIMPSESTER_BENCH_FOUR_LANES set, the eight-lane (AVX2) kernels are
// not used, as on a processor without AVX2.
#include <PluginProcessor.h>
#include <benchmark/benchmark.h>

namespace
{
constexpr int blockSize = 512;

struct Setting
{
    bool parallel;
    float segmentMicros;
    float segmentCount;
    float mix; // negative: the defaults (stage 1 at 100 %, the others silent)
};

void set (PluginProcessor& processor, const juce::String& id, float plain)
{
    auto* parameter = processor.tree.parameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plain));
}

void processAudio (benchmark::State& state, Setting setting)
{
    const juce::ScopedJuceInitialiser_GUI juce;
   #if VORN_DSP_AVX2
    juce::vorn_dsp::avx2::allowed() = std::getenv ("PALIMPSESTER_BENCH_FOUR_LANES") == nullptr;
   #endif
    const auto sampleRate = (double) state.range (0);
    PluginProcessor processor;

    if (setting.mix >= 0)
    {
        set (processor, "Mode", setting.parallel ? 1.0f : 0.0f);

        for (int stage = 1; stage <= 3; ++stage)
        {
            set (processor, ModelTree::ArgType_toString (ModelTree::SegSize, stage), setting.segmentMicros);
            set (processor, ModelTree::ArgType_toString (ModelTree::NSegs, stage), setting.segmentCount);
            set (processor, ModelTree::ArgType_toString (ModelTree::SegMix, stage), setting.mix);
        }
    }

    processor.prepareToPlay (sampleRate, blockSize);

    // One second of noise, played in a loop: copying a block in is what a
    // host does too, and it costs far less than pausing the clock would.
    juce::AudioBuffer<float> noise (2, (int) sampleRate);
    juce::Random random (42);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < noise.getNumSamples(); ++i)
            noise.setSample (c, i, random.nextFloat() - 0.5f);

    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    int position = 0;

    for (auto _ : state)
    {
        if (position + blockSize > noise.getNumSamples())
            position = 0;

        for (int c = 0; c < 2; ++c)
            buffer.copyFrom (c, 0, noise, c, position, blockSize);

        position += blockSize;
        processor.processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (0));
    }

    const auto blockSeconds = blockSize / sampleRate;
    state.counters["realtime_x"] = benchmark::Counter (blockSeconds, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["cpu_ms_per_audio_s"] = benchmark::Counter (blockSeconds * 0.001,
                                                               benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void defaults (benchmark::State& state)        { processAudio (state, { false, 11, 31, -1 }); }
void worstSeries (benchmark::State& state)     { processAudio (state, { false, 1, 91, 120 }); }
void worstParallel (benchmark::State& state)   { processAudio (state, { true, 1, 91, 120 }); }
} // namespace

BENCHMARK (defaults)->Arg (44100)->Arg (48000)->Unit (benchmark::kMicrosecond);
BENCHMARK (worstSeries)->Arg (44100)->Arg (48000)->Unit (benchmark::kMicrosecond);
BENCHMARK (worstParallel)->Arg (44100)->Arg (48000)->Unit (benchmark::kMicrosecond);

// The plug-in's data folder goes to a temporary folder, not the user's own.
int main (int argc, char** argv)
{
    const auto dataRoot = juce::File::getSpecialLocation (juce::File::tempDirectory)
                              .getNonexistentChildFile ("palimpsester-bench", {});
    dataRoot.createDirectory();
    setenv ("PALIMPSESTER_DATA_ROOT", dataRoot.getFullPathName().toRawUTF8(), 1);

    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    dataRoot.deleteRecursively();
    return 0;
}
