namespace juce::vorn_gui
{

HyperlinkLabel::HyperlinkLabel (const String& linkText, const URL& address, const Font& linkFont, Colour colour, Justification placement)
    : HyperlinkButton (linkText, address)
{
    // The framework's setFont resets the justification, so it comes first.
    setFont (linkFont, false, placement);
    setColour (HyperlinkButton::textColourId, colour);
    setJustificationType (placement);
}

//==============================================================================
NotificationLabel::NotificationLabel (LookAndFeel& lf)
    : HyperlinkLabel ({}, URL(), lf.mainFont, lf.counterBackgroundColour, Justification::topLeft)
{
    setHelpText ({});
    setVisible (false);
}

void NotificationLabel::setLinkIfSafe (const URL& address)
{
    const auto link = address.toString (true);
    setURL (link.startsWithIgnoreCase ("https://") && URL::isProbablyAWebsiteURL (link) ? address : URL());
}

//==============================================================================
const String HyperlinkLabelRow::separatorText (" // ");

HyperlinkLabelRow::HyperlinkLabelRow (LookAndFeel& lf, const StringArray& texts, const Array<URL>& addresses)
    : numLinks (jmin (texts.size(), addresses.size()))
{
    for (int i = 0; i < numLinks; ++i)
    {
        auto* link = links.add (new HyperlinkLabel (texts[i], addresses[i], lf.mainFont,
                                                    lf.counterBackgroundColour, Justification::bottomLeft));
        addAndMakeVisible (link);
    }
}

void HyperlinkLabelRow::resized()
{
    auto x = getWidth();

    for (int j = numLinks - 1; j >= 0; --j)
    {
        auto* link = links[j];
        auto text = link->getButtonText();

        // Each link after the first carries the separator exactly once, however
        // often the row is laid out.
        if (j > 0 && ! text.startsWith (separatorText))
            link->setButtonText (separatorText + text);
        else if (j == 0 && text.startsWith (separatorText))
            link->setButtonText (text.trimCharactersAtStart (separatorText));

        link->changeWidthToFitText();
        x -= link->getWidth();
        link->setBounds (x, 0, link->getWidth(), getHeight());
    }
}

//==============================================================================
TitleLabels::TitleLabels (LookAndFeel& lf, const String& titleText, const URL& titleAddress,
                          const String& subtitleText, const URL& subtitleAddress)
    : title (titleText, titleAddress, lf.titleFont, lf.primaryColour, Justification::centredLeft),
      subtitle (readableSubtitle (subtitleText), subtitleAddress, lf.subtitleFont, lf.secondaryColour,
                Justification::centredLeft)
{
    addAndMakeVisible (title);
    addAndMakeVisible (subtitle);
}

String TitleLabels::readableSubtitle (const String& text)
{
    return text.replaceCharacter ('_', ' ').replaceCharacter ('-', '.');
}

void TitleLabels::resized()
{
    title.changeWidthToFitText();
    subtitle.changeWidthToFitText();

    const auto titleWidth = jmin (getWidth(), title.getWidth());
    title.setBounds (0, 0, titleWidth, getHeight());
    subtitle.setBounds (titleWidth, 0, jmax (0, jmin (getWidth() - titleWidth - 30, subtitle.getWidth())), getHeight());
}

} // namespace juce::vorn_gui
