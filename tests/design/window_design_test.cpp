// SPDX-License-Identifier: MIT
// The descriptions hold together: every control's container exists and comes
// first, names and keyboard places are unique, and controls lie inside their
// containers. The values themselves are checked against the built windows.
#include "design/window_design.h"

#include "design/control_ids.h"

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

// The typed ids are the description's controls, one for one and in order, so
// that an id always finds its control and every control has an id.
template <typename Id>
std::vector<std::string_view> namesOf(const WindowDesign& design) {
    std::vector<std::string_view> names;
    for (const Control& c : design.controls) {
        names.push_back(c.name);
        EXPECT_EQ(controlNamed<Id>(c.name).has_value(), true) << c.name;
    }
    return names;
}

template <typename Id>
std::vector<std::string_view> idNames() {
    std::vector<std::string_view> names;
    for (const Id id : allControls<Id>()) {
        names.push_back(nameOf(id));
    }
    return names;
}

TEST(WindowDesign, TypedIdsAreTheDescribedControls) {
    EXPECT_EQ(namesOf<Form2Control>(form2Design()), idNames<Form2Control>());
    EXPECT_EQ(namesOf<Form1Control>(form1Design()), idNames<Form1Control>());
    EXPECT_EQ(namesOf<AboutControl>(aboutDesign()), idNames<AboutControl>());
    EXPECT_FALSE(controlNamed<Form2Control>("Text5").has_value());
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

TEST(WindowDesign, TwipsToPixels) {
    struct Case {
        int twips, dpi, pixels;
    };
    const Case cases[] = {
        {0, 96, 0},
        {14, 96, 0},
        {15, 96, 1},
        {7935, 96, 529},
        {7935, 144, 793},
        {180, 96, 12},
        {225, 96, 15},
        {255, 120, 21},
        {-15, 96, -1},
        {1440, 192, 192},
        {2000000000, 96, 133333333},  // no overflow
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
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
