// SPDX-License-Identifier: MIT
// The status bar's font: as large as designed, smaller only as far as every
// panel's text needs. The toolkits measure; the rule is the same for all.
#pragma once

#include <functional>
#include <vector>

#include "engine/core/text.h"

namespace tessark::design {

// The texts a panel must show whole (its text now, or every text a clock or
// a date panel will show) and the room inside it, in the unit the toolkit
// measures in.
struct PanelTexts {
    int room = 0;
    std::vector<Text> texts;
};

// A text's width at a font size in points, in the unit of the panels' room.
using MeasureAt = std::function<int(double points, const Text& text)>;

// The largest size from `designed` down in steps of a quarter point, not
// below 5 points (where the texts could not be read anyway), at which every
// text fits its panel; 5 points when none does.
double fitPanelFont(double designed, const std::vector<PanelTexts>& panels,
                    const MeasureAt& measure);

}  // namespace tessark::design
