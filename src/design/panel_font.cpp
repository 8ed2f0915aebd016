// SPDX-License-Identifier: MIT
#include "design/panel_font.h"

#include <algorithm>

namespace tessark::design {

namespace {

constexpr double kFontStep = 0.25;
constexpr double kSmallestFont = 5.0;

bool allFit(double points, const std::vector<PanelTexts>& panels, const MeasureAt& measure) {
    return std::all_of(panels.begin(), panels.end(), [&](const PanelTexts& panel) {
        return std::all_of(panel.texts.begin(), panel.texts.end(),
                           [&](const Text& text) { return measure(points, text) <= panel.room; });
    });
}

}  // namespace

double fitPanelFont(double designed, const std::vector<PanelTexts>& panels,
                    const MeasureAt& measure) {
    double points = designed;
    while (points - kFontStep >= kSmallestFont && !allFit(points, panels, measure)) {
        points -= kFontStep;
    }
    return points;
}

}  // namespace tessark::design
