namespace juce::vorn_gui
{

LabeledSuiteGrid::LabeledSuiteGrid (LookAndFeel& lf, const Array<int>& codes, int rows, int columns, Colour lines)
    : numRows (jmax (1, rows)), numColumns (jmax (1, columns)), kindCodes (codes), lineColour (lines)
{
    for (const auto code : kindCodes)
    {
        LabeledSuite* suite = nullptr;

        switch (code)
        {
            case rotarySlider:     suite = rotarySuites.add (new SliderSuite (lf, Slider::RotaryHorizontalVerticalDrag)); break;
            case toggleButton:     suite = toggleSuites.add (new ToggleButtonSuite (lf)); break;
            case verticalSlider:   suite = verticalSliderSuites.add (new SliderSuite (lf, Slider::LinearVertical)); break;
            case horizontalSlider: suite = horizontalSliderSuites.add (new SliderSuite (lf, Slider::LinearHorizontal)); break;
            case indicatorLight:   suite = lightSuites.add (new IndicatorLightSuite (lf)); break;
            default:               break;
        }

        if (suite != nullptr)
        {
            suites.add ({ suite, code });
            suite->addToParentAndMakeVisible (*this);
        }
    }
}

std::pair<Rectangle<float>, Rectangle<float>> LabeledSuiteGrid::areasFor (int index, int kind) const
{
    const auto cellWidth = (float) getWidth() / (float) numColumns;
    const auto cellHeight = (float) getHeight() / (float) numRows;
    const auto side = jmin (cellWidth, cellHeight);
    const auto x0 = (float) (index % numColumns) * cellWidth;
    const auto y0 = (float) (index / numColumns) * cellHeight;

    switch (kind)
    {
        case horizontalSlider:
            return { { x0, y0, horizontalSliderWidth, horizontalSliderHeight },
                     { x0 + horizontalSliderWidth, y0, cellWidth - horizontalSliderWidth, horizontalSliderHeight } };

        // Standing up: as wide as a horizontal slider is tall, the cell's
        // height, the label beside it.
        case verticalSlider:
            return { { x0, y0, horizontalSliderHeight, cellHeight },
                     { x0 + horizontalSliderHeight, y0, cellWidth - horizontalSliderHeight, cellHeight } };

        case rotarySlider:
        case toggleButton:
        case indicatorLight:
        default:
        {
            const auto controlSide = kind == rotarySlider ? rotarySide : kind == toggleButton ? toggleSide : lightSide;
            const auto inset = (side - controlSide) / 2;
            return { { x0 + inset, y0 + inset, jmax (controlSide, 0.0f), jmax (controlSide, 0.0f) },
                     { x0 + side, y0, cellWidth - side, side } };
        }
    }
}

void LabeledSuiteGrid::resized()
{
    for (int i = 0; i < suites.size(); ++i)
    {
        const auto [control, label] = areasFor (i, suites[i].kind);
        suites[i].suite->resizeInParent ({ control, label });
    }
}

void LabeledSuiteGrid::paint (Graphics& g)
{
    if (guideLines.isEmpty())
        return;

    const auto cellWidth = (float) getWidth() / (float) numColumns;
    const auto cellHeight = (float) getHeight() / (float) numRows;
    g.setColour (lineColour);

    for (const auto& line : guideLines)
    {
        if (line.isEmpty())
            continue;

        Path path;
        path.startNewSubPath (line[0] * cellWidth, line[1] * cellHeight); // a missing coordinate reads 0

        for (int i = 2; i + 1 < line.size(); i += 2)
            path.lineTo (line[i] * cellWidth, line[i + 1] * cellHeight);

        g.strokePath (path, PathStrokeType (1.0f, PathStrokeType::mitered, PathStrokeType::butt));
    }
}

} // namespace juce::vorn_gui
