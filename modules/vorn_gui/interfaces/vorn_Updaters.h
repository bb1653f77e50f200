#pragma once

namespace juce::vorn_gui
{

/** Implemented by the processor: a control hands over a value the user
    typed or stepped, in the parameter's own units. Invalid values are
    refused by sending the present label text back. */
class UserValueUpdater
{
public:
    virtual void userUpdateValue (const String& paramID, float value) = 0;

protected:
    ~UserValueUpdater() = default;
};

/** Implemented by the editor: shows a finished label text in the label of
    the parameter of kind `argType` (and, for per-stage kinds, of stage
    `stageIndex`, counted from 1). Called on the message thread. */
class LabelUpdater
{
public:
    virtual void updateLabel (const String& text, int argType, int stageIndex) = 0;

protected:
    ~LabelUpdater() = default;
};

} // namespace juce::vorn_gui
