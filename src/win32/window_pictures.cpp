// SPDX-License-Identifier: MIT
#include "win32/window_pictures.h"

#include "win32/pictures.h"

namespace tessark::win32 {

PictureSet::~PictureSet() {
    for (HIMAGELIST list : imageLists_) {
        ImageList_Destroy(list);
    }
    for (HANDLE image : images_) {
        DestroyIcon(static_cast<HICON>(image));
    }
}

void PictureSet::setIcon(HWND window, design::Picture icon, int dpi) {
    if (icon == design::Picture::None) {
        return;
    }
    if (HICON big = loadPicture(icon, dpi)) {
        images_.push_back(big);
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(big));
    }
}

void PictureSet::setPicture(HWND made, const design::Control& described, int dpi) {
    if (described.picture == design::Picture::None) {
        return;
    }
    HICON picture = loadPicture(described.picture, dpi);
    if (picture == nullptr) {
        return;
    }
    images_.push_back(picture);
    if (described.kind == design::Kind::CaptionButton) {
        const design::PixelSize size = design::pictureSize(described.picture);
        HIMAGELIST list =
            ImageList_Create(MulDiv(size.width, dpi, 96), MulDiv(size.height, dpi, 96),
                             ILC_COLOR32 | ILC_MASK, 1, 0);
        if (list != nullptr) {
            imageLists_.push_back(list);
            ImageList_AddIcon(list, picture);
            BUTTON_IMAGELIST images{
                list, {0, MulDiv(4, dpi, 96), 0, 0}, BUTTON_IMAGELIST_ALIGN_TOP};
            SendMessageW(made, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
        }
    } else if (described.kind == design::Kind::PictureBox) {
        SendMessageW(made, STM_SETICON, reinterpret_cast<WPARAM>(picture), 0);
    } else {
        SendMessageW(made, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
    }
}

}  // namespace tessark::win32
