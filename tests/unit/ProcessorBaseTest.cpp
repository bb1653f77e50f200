#include <vorn_dsp/vorn_dsp.h>
#include <gtest/gtest.h>

namespace
{
using juce::vorn_dsp::Processor;

/** Records the order in which the entry points reach the hooks. */
struct RecordingProcessor : Processor<float>
{
    std::vector<std::string> calls;
    float sampleRateSeenInPrepare = 0;

    void _processBypassed (const InputBlock& in, OutputBlock& out) override { calls.push_back ("bypassed"); Processor::_processBypassed (in, out); }
    void _process (const InputBlock& in, OutputBlock& out) override         { calls.push_back ("process"); Processor::_process (in, out); }
    void _prepare (const juce::dsp::ProcessSpec&) override                  { calls.push_back ("prepare"); sampleRateSeenInPrepare = sampleRate; }
    void _reset() override                                                  { calls.push_back ("reset"); }
};

TEST (ProcessorBase, EntryPointsCallTheirHooksInOrder)
{
    RecordingProcessor processor;
    EXPECT_EQ (processor.sampleRate, 44100.0f);

    processor.prepare ({ 48000.0, 64, 2 });
    EXPECT_EQ (processor.sampleRate, 48000.0f);
    EXPECT_EQ (processor.sampleRateSeenInPrepare, 48000.0f);

    juce::AudioBuffer<float> buffer (2, 16);
    buffer.clear();
    juce::dsp::AudioBlock<float> block (buffer);
    processor.process (juce::dsp::ProcessContextReplacing<float> (block));
    processor.processBypassed (juce::dsp::ProcessContextReplacing<float> (block));
    processor.reset();

    EXPECT_EQ (processor.calls, (std::vector<std::string> { "prepare", "reset", "process", "bypassed", "reset" }));
    // The lock is free again after every entry point.
    EXPECT_TRUE (processor.lock.tryEnter());
    processor.lock.exit();
}

struct CopyCase
{
    const char* hook;
    bool bypassed;
};

class DefaultHooks : public testing::TestWithParam<CopyCase> {};

TEST_P (DefaultHooks, CopyOnlyTheOverlapOfInputAndOutput)
{
    juce::AudioBuffer<float> input (1, 8), output (2, 6);

    for (int i = 0; i < 8; ++i)
        input.setSample (0, i, (float) i + 1);

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 6; ++i)
            output.setSample (c, i, -7.0f);

    const juce::dsp::AudioBlock<const float> in (input.getArrayOfReadPointers(), 1, 8);
    juce::dsp::AudioBlock<float> out (output);
    // The entry points only take replacing contexts; a thin subclass drives
    // the default hooks with two different blocks.
    struct Exposed : Processor<float>
    {
        void run (bool bypassed, const InputBlock& i, OutputBlock& o) { bypassed ? _processBypassed (i, o) : _process (i, o); }
    } exposed;
    exposed.run (GetParam().bypassed, in, out);

    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ (output.getSample (0, i), (float) i + 1) << GetParam().hook;
        EXPECT_EQ (output.getSample (1, i), -7.0f) << "extra output channel touched by " << GetParam().hook;
    }
}

INSTANTIATE_TEST_SUITE_P (Both, DefaultHooks, testing::Values (CopyCase { "Process", false }, CopyCase { "ProcessBypassed", true }),
                          [] (const testing::TestParamInfo<CopyCase>& testCase) { return std::string (testCase.param.hook); });
} // namespace
