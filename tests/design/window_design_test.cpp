// SPDX-License-Identifier: MIT
// The descriptions hold together: every control's container exists and comes
// first, names and keyboard places are unique, and controls lie inside their
// containers. The values themselves are checked against the built windows.
#include "design/window_design.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tessark::design {
namespace {

struct Window {
    const char* name;
    const WindowDesign& (*design)();
    const char* firstFocus;
};

const Window kWindows[] = {
    {"Form2", form2Design, "Text1"},
    {"Form1", form1Design, "Dir1"},
    {"frmAbout", aboutDesign, "cmdOK"},
};

bool visual(const Control& c) {
    return c.kind != Kind::Timer && c.kind != Kind::CommonDialog;
}

TEST(WindowDesign, ContainersExistAndComeFirst) {
    for (const Window& w : kWindows) {
        const WindowDesign& design = w.design();
        EXPECT_EQ(design.name, w.name);
        std::set<std::string_view> seen;
        for (const Control& c : design.controls) {
            EXPECT_TRUE(seen.insert(c.name).second) << w.name << ": twice " << c.name;
            if (!c.container.empty()) {
                EXPECT_TRUE(seen.count(c.container)) << w.name << ": " << c.name;
                ASSERT_NE(design.find(c.container), nullptr) << c.name;
                EXPECT_EQ(design.find(c.container)->kind, Kind::Frame) << c.name;
            }
            EXPECT_EQ(design.find(c.name), &c);
        }
        EXPECT_EQ(design.find("NoSuchControl"), nullptr);
    }
}

// A typing slip in a position shows up as a control sticking out of its frame.
TEST(WindowDesign, ControlsLieInsideTheirContainers) {
    for (const Window& w : kWindows) {
        const WindowDesign& design = w.design();
        for (const Control& c : design.controls) {
            // The main window's separator runs past the window's right edge.
            if (!visual(c) || c.kind == Kind::Line) {
                continue;
            }
            const Control* in = c.container.empty() ? nullptr : design.find(c.container);
            const int width = in ? in->at.width : design.clientWidth;
            const int height = in ? in->at.height : design.clientHeight;
            EXPECT_GE(c.at.left, 0) << w.name << "." << c.name;
            EXPECT_GE(c.at.top, 0) << w.name << "." << c.name;
            EXPECT_GT(c.at.width, 0) << w.name << "." << c.name;
            EXPECT_GT(c.at.height, 0) << w.name << "." << c.name;
            EXPECT_LE(c.at.left + c.at.width, width) << w.name << "." << c.name;
            EXPECT_LE(c.at.top + c.at.height, height) << w.name << "." << c.name;
        }
    }
}

TEST(WindowDesign, KeyboardOrderIsUniqueAndStartsAtTheFirstFocus) {
    for (const Window& w : kWindows) {
        const auto order = w.design().tabOrder();
        ASSERT_FALSE(order.empty()) << w.name;
        EXPECT_EQ(order.front()->name, w.firstFocus);
        for (std::size_t i = 0; i < order.size(); ++i) {
            EXPECT_EQ(order[i]->tabIndex, static_cast<int>(i)) << w.name << "." << order[i]->name;
            EXPECT_TRUE(visual(*order[i]) && order[i]->kind != Kind::Label &&
                        order[i]->kind != Kind::Frame)
                << w.name << "." << order[i]->name << " cannot take the focus";
        }
    }
}

TEST(WindowDesign, StatusPanelsFillTheBar) {
    const Control* bar = form2Design().find("StatusBar1");
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->panels.size(), 5U);
    int width = 0;
    for (const StatusPanel& panel : bar->panels) {
        // Both measures of a width agree: 1 twip is 1.7639 hundredths of a millimetre.
        EXPECT_NEAR(panel.width * 2540.0 / 1440.0, panel.widthHimetric, 1.0);
        width += panel.width;
    }
    EXPECT_LE(width, bar->at.width);
    EXPECT_EQ(bar->panels[3].style, PanelStyle::Date);
}

}  // namespace
}  // namespace tessark::design
