// SPDX-License-Identifier: MIT
// The status bar's font, fitted to its panels' texts by the rule all the
// front ends share, measured with the fonts the bar would show.
#include "win32/win32_api.h"

#include <cmath>
#include <vector>

#include "design/panel_font.h"
#include "design/window_design.h"
#include "win32/win32_controls.h"
#include "win32/win32_text.h"

namespace tessark::win32 {

namespace {

// The clock's texts at their widest: every hour, as some formats write 9 and
// 10 o'clock, or morning and afternoon, differently.
std::vector<Text> clockSamples() {
    std::vector<Text> samples;
    for (WORD hour = 0; hour < 24; ++hour) {
        SYSTEMTIME at{};
        at.wHour = hour;
        at.wMinute = 58;
        at.wSecond = 58;
        wchar_t time[128];
        const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &at, nullptr, time, 128);
        if (length > 0) {
            samples.push_back(fromWide(time, static_cast<std::size_t>(length - 1)));
        }
    }
    return samples;
}

// This year's dates at their widest: a two-digit day in every month.
std::vector<Text> dateSamples() {
    SYSTEMTIME today{};
    GetLocalTime(&today);
    std::vector<Text> samples;
    for (WORD month = 1; month <= 12; ++month) {
        SYSTEMTIME day{};
        day.wYear = today.wYear;
        day.wMonth = month;
        day.wDay = 28;
        wchar_t date[128];
        const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr,
                                           date, 128, nullptr);
        if (length > 0) {
            samples.push_back(fromWide(date, static_cast<std::size_t>(length - 1)));
        }
    }
    return samples;
}

int widthIn(HDC dc, HFONT font, const Text& text) {
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide(text), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    return size.cx;
}

}  // namespace

Win32StatusBar::~Win32StatusBar() {
    if (fitted_ != nullptr) {
        if (IsWindow(bar_) &&
            reinterpret_cast<HFONT>(SendMessageW(bar_, WM_GETFONT, 0, 0)) == fitted_) {
            SendMessageW(bar_, WM_SETFONT, 0, FALSE);
        }
        DeleteObject(fitted_);
    }
}

int Win32StatusBar::room(int panel) const {
    RECT part{};
    SendMessageW(bar_, SB_GETRECT, static_cast<WPARAM>(panel - 1), reinterpret_cast<LPARAM>(&part));
    // The panel's sunken edge and the bar's margin before its text.
    return part.right - part.left - 2 * GetSystemMetrics(SM_CXEDGE) - 6;
}

bool Win32StatusBar::fits(int panel, const Text& text) const {
    HDC dc = GetDC(bar_);
    if (dc == nullptr) {
        return true;
    }
    const int width =
        widthIn(dc, reinterpret_cast<HFONT>(SendMessageW(bar_, WM_GETFONT, 0, 0)), text);
    ReleaseDC(bar_, dc);
    return width <= room(panel);
}

void Win32StatusBar::fitFont(int dpi) {
    // A font set since the last fit (the window's, at a new scale) is the
    // designed one from now on.
    const auto shown = reinterpret_cast<HFONT>(SendMessageW(bar_, WM_GETFONT, 0, 0));
    if (shown == nullptr || dpi <= 0) {
        return;
    }
    if (shown != fitted_ && GetObjectW(shown, sizeof(designed_), &designed_) == 0) {
        return;
    }
    dpi_ = dpi;
    std::vector<design::PanelTexts> panels;
    for (int panel = 1; panel <= kPanels; ++panel) {
        panels.push_back({room(panel), {panelText(panel)}});
    }
    panels.push_back({room(kDatePanel), dateSamples()});
    panels.push_back({room(design::kClockPanel), clockSamples()});

    HDC dc = GetDC(bar_);
    if (dc == nullptr) {
        return;
    }
    const auto fontAt = [this](double points) {
        LOGFONTW sized = designed_;
        sized.lfHeight = -static_cast<LONG>(std::lround(points * dpi_ / 72.0));
        return CreateFontIndirectW(&sized);
    };
    const double designedPoints = std::abs(designed_.lfHeight) * 72.0 / dpi_;
    const double points =
        design::fitPanelFont(designedPoints, panels, [&](double at, const Text& text) {
            HFONT font = fontAt(at);
            const int width = font != nullptr ? widthIn(dc, font, text) : 0;
            DeleteObject(font);
            return width;
        });
    ReleaseDC(bar_, dc);

    if (points >= designedPoints) {
        return;  // the font the bar shows fits
    }
    HFONT fitted = fontAt(points);
    if (fitted == nullptr) {
        return;
    }
    SendMessageW(bar_, WM_SETFONT, reinterpret_cast<WPARAM>(fitted), TRUE);
    if (fitted_ != nullptr) {
        DeleteObject(fitted_);
    }
    fitted_ = fitted;
}

}  // namespace tessark::win32
