// SPDX-License-Identifier: MIT
#include "win32/pictures.h"

namespace tessark::win32 {

namespace {

int resourceOf(design::Picture picture) {
    using design::Picture;
    switch (picture) {
        case Picture::OpenFolder:
            return TESSARK_ICON_OPEN_FOLDER;
        case Picture::BlankPage:
            return TESSARK_ICON_BLANK_PAGE;
        case Picture::BlackCross:
            return TESSARK_ICON_BLACK_CROSS;
        case Picture::RedCrossList:
            return TESSARK_ICON_RED_CROSS_LIST;
        case Picture::ArrowUp:
            return TESSARK_ICON_ARROW_UP;
        case Picture::ArrowDown:
            return TESSARK_ICON_ARROW_DOWN;
        case Picture::SplitPicture:
            return TESSARK_ICON_SPLIT;
        case Picture::MergePicture:
            return TESSARK_ICON_MERGE;
        case Picture::ProgramIcon:
            return TESSARK_ICON_PROGRAM;
        case Picture::None:
            break;
    }
    return 0;
}

}  // namespace

HICON loadPicture(design::Picture picture, int dpi) {
    const int id = resourceOf(picture);
    if (id == 0) {
        return nullptr;
    }
    const design::PixelSize size = design::pictureSize(picture);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                         IMAGE_ICON, MulDiv(size.width, dpi, 96),
                                         MulDiv(size.height, dpi, 96), LR_DEFAULTCOLOR));
}

}  // namespace tessark::win32
