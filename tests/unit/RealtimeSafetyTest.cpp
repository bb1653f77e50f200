// Block processing must not allocate: every memory is sized when the
// processor is prepared. The global allocation functions of this test
// program count the allocations made while a block is processed.
#include <PluginProcessor.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace
{
thread_local bool countingAllocations = false;
thread_local int allocationsSeen = 0;

void* allocate (std::size_t size)
{
    if (countingAllocations)
        ++allocationsSeen;

    if (auto* p = std::malloc (size == 0 ? 1 : size))
        return p;

    throw std::bad_alloc();
}
} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }

namespace
{
struct Settings
{
    const char* name;
    bool parallel;
    float segmentMicros;
    float segmentCount;
    float mix;
};

class NoAllocation : public testing::TestWithParam<Settings> {};

void set (PluginProcessor& processor, const juce::String& id, float plain)
{
    auto* parameter = processor.tree.parameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plain));
}

TEST_P (NoAllocation, WhileProcessingBlocksWithParametersMoving)
{
    const auto& s = GetParam();
    PluginProcessor processor;
    set (processor, "Mode", s.parallel ? 1.0f : 0.0f);

    for (int stage = 1; stage <= 3; ++stage)
    {
        set (processor, ModelTree::ArgType_toString (ModelTree::SegSize, stage), s.segmentMicros);
        set (processor, ModelTree::ArgType_toString (ModelTree::NSegs, stage), s.segmentCount);
        if (s.mix >= 0)
            set (processor, ModelTree::ArgType_toString (ModelTree::SegMix, stage), s.mix);
    }

    processor.prepareToPlay (48000.0, 512);
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;
    juce::Random random (1);

    for (int block = 0; block < 120; ++block)
    {
        // Moving parameters between blocks, as automation would; the
        // mode flips, the stages' mixes ramp and a stage falls silent.
        set (processor, "2- Seg Size", 1.0f + (float) (block % 47));
        set (processor, "1- Seg Mix", block % 40 < 20 ? 120.0f : 0.0f);
        set (processor, "Tone", (float) (block % 101));
        if (block % 30 == 29)
            set (processor, "Mode", block % 60 < 30 ? 1.0f : 0.0f);

        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 512; ++i)
                buffer.setSample (c, i, random.nextFloat() - 0.5f);

        const auto n = block % 7 == 3 ? 1 + block % 500 : 512;
        juce::AudioBuffer<float> view (buffer.getArrayOfWritePointers(), 2, n);

        allocationsSeen = 0;
        countingAllocations = true;
        if (block % 25 == 24)
            processor.processBlockBypassed (view, midi);
        else
            processor.processBlock (view, midi);
        countingAllocations = false;

        ASSERT_EQ (allocationsSeen, 0) << "block " << block;
    }
}

INSTANTIATE_TEST_SUITE_P (Table, NoAllocation, testing::Values (
    Settings { "Defaults", false, 11, 31, -1 },
    Settings { "WorstCaseSeries", false, 1, 91, 120 },
    Settings { "WorstCaseParallel", true, 1, 91, 120 }),
    [] (const testing::TestParamInfo<Settings>& testCase) { return std::string (testCase.param.name); });
} // namespace
