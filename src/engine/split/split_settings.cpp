// SPDX-License-Identifier: MIT
#include "engine/split/split_settings.h"

#include "engine/core/controls.h"
#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"

namespace tessark {

Text DeriveTargetName(const Text& source) {
    if (source.find(u'.') == Text::npos) {
        return source;
    }
    // A path shorter than four characters gets the "$" in front; a cut that
    // would split a surrogate pair moves before it, so the name stays valid.
    std::size_t cut = source.size() >= 4 ? source.size() - 4 : 0;
    if (cut > 0 && source[cut] >= 0xDC00 && source[cut] <= 0xDFFF && source[cut - 1] >= 0xD800 &&
        source[cut - 1] <= 0xDBFF) {
        --cut;
    }
    return source.substr(0, cut) + u"$" + source.substr(cut);
}

Text SizeCaption(std::int64_t bytes) {
    return u"文件大小：" + decimal(bytes / 1024) + u" KB";
}

void browseSource(MainControls& window, FileSystem& fs) {
    CommonDialog& dialog = window.CommonDialog1;
    dialog.flags = cdl::HideReadOnly | cdl::FileMustExist;
    dialog.showOpen();
    const Text name = dialog.fileName;
    if (name.empty()) {
        return;
    }
    takeSource(window, fs, name);
}

void takeSource(MainControls& window, FileSystem& fs, const Text& name) {
    window.Text1.setText(name);
    window.Text2.setText(DeriveTargetName(name));
    try {
        window.Label2.setCaption(SizeCaption(fs.fileLength(name)));
    } catch (const RuntimeError&) {
        // The file went away after it was chosen: the old caption stays, and
        // the split's own checks will say what is wrong.
    }
}

}  // namespace tessark
