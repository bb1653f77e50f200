// palimpsester-gallery: every widget of the toolkit on one page.
//   palimpsester-gallery                 shows the page in a window
//   palimpsester-gallery --png FILE      writes the page to FILE and quits
//                        [--scale S]     at S times the size (default 1)
#include "GalleryPage.h"
#include <QuietX11.h>

#include <iostream>

namespace
{
/** Shows the page; with a target file, writes it once it has been painted
    and ends the message loop. */
class GalleryWindow : public juce::DocumentWindow, private juce::Timer
{
public:
    GalleryWindow (juce::File target, float scale)
        : DocumentWindow ("Palimpsester widgets", juce::Colours::black, DocumentWindow::closeButton),
          png (std::move (target)), snapshotScale (scale)
    {
        setUsingNativeTitleBar (true);
        setContentNonOwned (&page, true);
        setVisible (true);

        if (png != juce::File())
            startTimer (400);
    }

    void closeButtonPressed() override { juce::MessageManager::getInstance()->stopDispatchLoop(); }

    bool written = false;

private:
    void timerCallback() override
    {
        stopTimer();
        const auto image = page.createComponentSnapshot (page.getLocalBounds(), true, snapshotScale);
        png.getParentDirectory().createDirectory();
        png.deleteFile();
        juce::FileOutputStream out (png);
        written = out.openedOk() && juce::PNGImageFormat().writeImageToStream (image, out);
        juce::MessageManager::getInstance()->stopDispatchLoop();
    }

    GalleryPage page;
    juce::File png;
    float snapshotScale;
};
} // namespace

int main (int argc, char** argv)
{
    juce::File target;
    float scale = 1.0f;

    for (int i = 1; i < argc; ++i)
    {
        const juce::String argument (argv[i]);

        if (argument == "--png" && i + 1 < argc)
            target = juce::File::getCurrentWorkingDirectory().getChildFile (argv[++i]);
        else if (argument == "--scale" && i + 1 < argc)
            scale = juce::jlimit (0.5f, 4.0f, (float) std::atof (argv[++i]));
        else
        {
            std::cerr << "usage: palimpsester-gallery [--png FILE [--scale S]]\n";
            return 2;
        }
    }

    quietX11Errors();
    const juce::ScopedJuceInitialiser_GUI juce;
    bool written = false;
    {
        GalleryWindow window (target, scale);
        juce::MessageManager::getInstance()->runDispatchLoop();
        written = window.written;
    }

    if (target != juce::File())
    {
        std::cout << (written ? "wrote " : "could not write ") << target.getFullPathName() << "\n";
        return written ? 0 : 1;
    }

    return 0;
}
