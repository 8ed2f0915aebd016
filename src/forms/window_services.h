// SPDX-License-Identifier: MIT
// What the main window uses beyond its own controls, the same for every
// toolkit. Tests put in-memory stand-ins here; whatever stays empty gets the
// real thing.
#pragma once

#include <functional>
#include <memory>

namespace tessark {

class CommonDialog;
class DriveSource;
class FileSystem;
class MessageBox;

struct WindowServices {
    FileSystem* fileSystem = nullptr;   // the machine's file system
    MessageBox* messages = nullptr;     // real message boxes over the window
    CommonDialog* dialog = nullptr;     // a real open-file dialog
    DriveSource* drives = nullptr;      // the machine's drives, for the folder picker
    std::function<void()> openWebSite;  // the maker's site in the default browser
    std::function<void()> endProgram;   // leaves the event loop at once
};

// The toolkit's own message boxes, open-file dialog, web-site opener and
// program end, for whatever the window was not given.
struct ToolkitServices {
    std::function<std::unique_ptr<MessageBox>()> messages;
    std::function<std::unique_ptr<CommonDialog>()> dialog;
    std::function<void()> openWebSite;
    std::function<void()> endProgram;
};

// The services a window runs with: those it was given, the machine's file
// system and drives and the toolkit's own for the rest.
class ServicesInUse {
  public:
    ServicesInUse(WindowServices given, const ToolkitServices& toolkit);
    ~ServicesInUse();
    ServicesInUse(const ServicesInUse&) = delete;
    ServicesInUse& operator=(const ServicesInUse&) = delete;

    FileSystem& fileSystem() const { return *used_.fileSystem; }
    MessageBox& messages() const { return *used_.messages; }
    CommonDialog& dialog() const { return *used_.dialog; }
    DriveSource& drives() const { return *used_.drives; }
    void openWebSite() const { used_.openWebSite(); }
    void endProgram() const { used_.endProgram(); }

  private:
    WindowServices used_;
    std::unique_ptr<FileSystem> ownFileSystem_;
    std::unique_ptr<MessageBox> ownMessages_;
    std::unique_ptr<CommonDialog> ownDialog_;
    std::unique_ptr<DriveSource> ownDrives_;
};

}  // namespace tessark
