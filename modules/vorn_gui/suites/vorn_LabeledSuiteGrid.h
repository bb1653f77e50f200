#pragma once

namespace juce::vorn_gui
{

/** Suites made from kind codes and laid out in a table of equal cells, one
    suite per cell, row by row: the control at the left of its cell, the
    label filling the rest of the row. Can draw thin guide lines across the
    cells. */
class LabeledSuiteGrid : public Component
{
public:
    /** The kind codes: what each code makes. Other codes make nothing. */
    enum Kind
    {
        rotarySlider = 0,
        toggleButton = 1,
        verticalSlider = 2,
        horizontalSlider = 3,
        indicatorLight = 4
    };

    /** Rows and columns below 1 count as 1. */
    LabeledSuiteGrid (LookAndFeel& lf, const Array<int>& kindCodes, int rows, int columns, Colour lineColour);

    void paint (Graphics& g) override;
    void resized() override;

    /** The control's and the label's areas of the suite in cell `index`. */
    std::pair<Rectangle<float>, Rectangle<float>> areasFor (int index, int kind) const;

    const int numRows, numColumns;
    const Array<int> kindCodes;
    Colour lineColour;

    /** Polylines x0, y0, x1, y1, … in cell units (1 is one cell). */
    Array<Array<float>> guideLines;

    float rotarySide = 0.0f;
    float toggleSide = 0.0f;
    float lightSide = 14.0f;
    float horizontalSliderWidth = 250.0f;
    float horizontalSliderHeight = 16.0f;

    OwnedArray<SliderSuite> rotarySuites, horizontalSliderSuites, verticalSliderSuites;
    OwnedArray<ToggleButtonSuite> toggleSuites;
    OwnedArray<IndicatorLightSuite> lightSuites;

    /** Every suite in creation order, each with the kind it was made as;
        codes that make nothing leave no gap. */
    struct Entry
    {
        LabeledSuite* suite;
        int kind;
    };

    Array<Entry> suites;
};

} // namespace juce::vorn_gui
