// SPDX-License-Identifier: MIT
// Answers the real message boxes a test brings up: a thread-local CBT hook
// sees each box as it is activated, records what it shows and presses one of
// its buttons.
#pragma once

#include "win32/win32_api.h"

#include <deque>
#include <vector>

#include "engine/core/text.h"

namespace tessark::test {

enum class BoxIcon { None, Stop, Question, Exclamation, Information, Other };

struct SeenBox {
    Text text;
    Text title;
    BoxIcon icon = BoxIcon::None;
    std::vector<int> buttons;  // visible buttons' identifiers (IDOK, IDYES, ...)
    int defaultButton = 0;
    int pressed = 0;  // 0: the requested button was missing
};

class BoxAnswerer {
  public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // Buttons to press, box by box; with the script run out, Yes where there
    // is one, else OK.
    std::deque<int> answers;
    std::vector<SeenBox> seen;

    // Reads `box` and presses its button.
    void answer(HWND box);

  private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_ = nullptr;
};

}  // namespace tessark::test
