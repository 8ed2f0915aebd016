// SPDX-License-Identifier: MIT
#include "forms/window_services.h"

#include <utility>

#include "engine/core/file_system.h"
#include "engine/platform/drives.h"
#include "engine/platform/native_file_system.h"
#include "forms/controls.h"

namespace tessark {

ServicesInUse::ServicesInUse(WindowServices given, const ToolkitServices& toolkit)
    : used_(std::move(given)) {
    if (used_.fileSystem == nullptr) {
        ownFileSystem_ = makeNativeFileSystem();
        used_.fileSystem = ownFileSystem_.get();
    }
    if (used_.messages == nullptr) {
        ownMessages_ = toolkit.messages();
        used_.messages = ownMessages_.get();
    }
    if (used_.dialog == nullptr) {
        ownDialog_ = toolkit.dialog();
        used_.dialog = ownDialog_.get();
    }
    if (used_.drives == nullptr) {
        ownDrives_ = makeNativeDriveSource();
        used_.drives = ownDrives_.get();
    }
    if (!used_.openWebSite) {
        used_.openWebSite = toolkit.openWebSite;
    }
    if (!used_.endProgram) {
        used_.endProgram = toolkit.endProgram;
    }
}

ServicesInUse::~ServicesInUse() = default;

}  // namespace tessark
