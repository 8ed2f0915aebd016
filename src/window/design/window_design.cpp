// SPDX-License-Identifier: MIT
#include "design/window_design.h"

#include <algorithm>

namespace tessark::design {

PixelSize pictureSize(Picture picture) {
    switch (picture) {
        case Picture::None:
            return {};
        case Picture::SplitPicture:
        case Picture::MergePicture:
            return {24, 23};
        case Picture::ProgramIcon:
            return {32, 32};
        case Picture::OpenFolder:
        case Picture::BlankPage:
        case Picture::BlackCross:
        case Picture::RedCrossList:
        case Picture::ArrowUp:
        case Picture::ArrowDown:
            break;
    }
    return {16, 16};
}

const Control* WindowDesign::find(std::string_view wanted) const {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [wanted](const Control& c) { return c.name == wanted; });
    return found == controls.end() ? nullptr : &*found;
}

std::vector<const Control*> WindowDesign::tabOrder() const {
    std::vector<const Control*> order;
    for (const Control& control : controls) {
        if (control.tabIndex != kNoTab) {
            order.push_back(&control);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

}  // namespace tessark::design
