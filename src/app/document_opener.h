// Opening a path in the reader: an archive is unpacked and its text found (or chosen), then
// the document is loaded. What needs a window (choosing a file, showing a message) comes in
// as hooks, so that the path can be driven without one.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace Yomibon {

class CYbTxtDocument;

class CYbDocumentOpener {
  public:
    struct Hooks {
        // Lets the user pick a text inside the folder; false when cancelled.
        std::function<bool(const std::u16string& folder, std::u16string& chosen)> chooseText;
        std::function<void(const std::u16string& text)> message;
        // Called after every successful load.
        std::function<void()> loaded;
    };

    enum Outcome {
        OPENED,     // the document holds the new text
        FAILED,     // the load failed (or was cancelled); the document is as it was
        UNCHANGED,  // nothing was loaded (archive not unpacked, choice cancelled)
    };

    CYbDocumentOpener(CYbTxtDocument& document, std::filesystem::path dataFolder, Hooks hooks)
        : document_(document), dataFolder_(std::move(dataFolder)), hooks_(std::move(hooks)) {}

    // With `headFirst` a long text is shown from its head while the rest is read (see
    // CYbTxtDocument::openFile).
    Outcome open(const std::u16string& path, bool headFirst = false);

  private:
    Outcome openArchive(const std::u16string& path, bool headFirst);
    // The one step that fills the document from a path (a file, a bookmark file or a URL),
    // followed by the `loaded` hook. Everything before it decides what to load; everything
    // after it only reports the result.
    bool load(const std::u16string& path, bool headFirst);
    // Tells why a load failed, unless the reader cancelled it himself.
    void reportFailure(const std::u16string& path);

    CYbTxtDocument& document_;
    std::filesystem::path dataFolder_;
    Hooks hooks_;
};

}  // namespace Yomibon
