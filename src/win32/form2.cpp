// SPDX-License-Identifier: MIT
#include "win32/form2.h"

#include <stdexcept>

#include "design/maker.h"
#include "win32/form1.h"
#include "win32/form2_parts.h"
#include "win32/frm_about.h"
#include "win32/keys.h"
#include "win32/win32_text.h"

namespace tessark::win32 {

using design::Form2Control;

namespace {

constexpr UINT_PTR kTimer1 = 1;

// The maker's site in the default browser; a failure to start it is not
// reported (the About window is already up).
void openMakerSite() {
    const Text address = design::maker::webSiteUrl();
    ShellExecuteW(nullptr, L"open", wide(address), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

Form2::Form2(Form2Services services) : parts_(new Parts) {
    createWindow(std::move(services));
    Form_Load();
}

// The picker and the About window are owned by this window: they go first.
Form2::~Form2() {
    picker_.reset();
    about_.reset();
    if (window_ != nullptr) {
        KillTimer(window_, kTimer1);
    }
}

void Form2::createWindow(Form2Services services) {
    Parts& p = *parts_;
    if (!p.built.create(design::form2Design(), nullptr, *this)) {
        throw std::runtime_error("cannot create the main window");
    }
    window_ = p.built.window();
    p.ids = std::make_unique<ControlIds<Form2Control>>(p.built);

    const design::Control* status = design::form2Design().find(nameOf(Form2Control::StatusBar1));
    std::array<int, Win32StatusBar::kPanels> widths{};
    for (std::size_t i = 0; i < widths.size() && i < status->panels.size(); ++i) {
        widths[i] = p.built.pixels(status->panels[i].width);
    }
    p.text1 = std::make_unique<Win32TextBox>(p.built.control(Form2Control::Text1));
    p.text2 = std::make_unique<Win32TextBox>(p.built.control(Form2Control::Text2));
    p.text3 = std::make_unique<Win32TextBox>(p.built.control(Form2Control::Text3));
    p.text4 = std::make_unique<Win32TextBox>(p.built.control(Form2Control::Text4));
    p.option1 = std::make_unique<Win32OptionButton>(p.built.control(Form2Control::Option1));
    p.label2 = std::make_unique<Win32Label>(p.built.control(Form2Control::Label2), true);
    p.list1 =
        std::make_unique<Win32ListBox>(p.built.control(Form2Control::List1), p.built.tooltips(),
                                       [this] { parts_->controller->List1_Click(); });
    p.taskbar = std::make_unique<TaskbarProgress>(window_);
    p.progressBar1 = std::make_unique<Win32ProgressBar>(p.built.control(Form2Control::ProgressBar1),
                                                        p.taskbar.get());
    p.statusBar1 =
        std::make_unique<Win32StatusBar>(p.built.control(Form2Control::StatusBar1), widths);
    for (std::size_t i = 0; i < status->panels.size(); ++i) {
        if (status->panels[i].style == design::PanelStyle::Text) {
            p.statusBar1->setPanelText(static_cast<int>(i) + 1, status->panels[i].text);
        }
    }
    p.statusBar1->fitFont(p.built.dpi());
    p.stop = std::make_unique<Win32StopListener>(window_, p.built.control(Form2Control::Command13));
    p.services = std::make_unique<ServicesInUse>(
        std::move(services),
        ToolkitServices{
            [this] { return std::make_unique<Win32MessageBox>(window_, parts_->taskbar.get()); },
            [this] { return std::make_unique<Win32CommonDialog>(window_); }, &openMakerSite,
            [] { PostQuitMessage(0); }});
    p.controller = std::make_unique<Form2Controller>(static_cast<Form2Window&>(*this), *p.services);

    wireKeys();
    DragAcceptFiles(window_, TRUE);
    const design::Control* timer = design::form2Design().find(nameOf(Form2Control::Timer1));
    SetTimer(window_, kTimer1, static_cast<UINT>(timer->interval), nullptr);
    p.built.tabOrder().focusFirst();
}

// Every control that takes the focus hands its keys to the controller.
void Form2::wireKeys() {
    for (const design::Control* described : design::form2Design().tabOrder()) {
        const auto id = design::controlNamed<Form2Control>(described->name);
        HWND focusable = id ? parts_->built.control(*id) : nullptr;
        if (focusable != nullptr) {
            onKeyPress(focusable, [this, control = *id](int keyAscii) {
                parts_->controller->keyPress(control, keyAscii);
            });
        }
    }
}

HWND Form2::control(const char* name) const {
    return parts_->built.control(name);
}

Win32StatusBar& Form2::statusBar() {
    return *parts_->statusBar1;
}

Form2Controller& Form2::controller() {
    return *parts_->controller;
}

void Form2::Form_Load() {
    // Centred by the outer frame; the web panel stays empty on Windows.
    centreOnScreen(window_);
}

std::optional<Text> Form2::timeOfDay() {
    wchar_t time[128];
    const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
    if (length <= 0) {
        return std::nullopt;
    }
    return fromWide(time, static_cast<std::size_t>(length - 1));
}

std::optional<LRESULT> Form2::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    Parts& p = *parts_;
    switch (message) {
        case WM_COMMAND:
            if (onCommand(LOWORD(wParam), HIWORD(wParam))) {
                return 0;
            }
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == p.built.control(Form2Control::StatusBar1) &&
                header->code == NM_CLICK) {
                const auto* click = reinterpret_cast<const NMMOUSE*>(lParam);
                p.controller->StatusBar1_PanelClick(static_cast<int>(click->dwItemSpec) + 1);
                return TRUE;
            }
            break;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                lastFocus_ = focus != nullptr && IsChild(window_, focus) ? focus : nullptr;
            } else if (lastFocus_ != nullptr && IsWindowVisible(lastFocus_) &&
                       IsWindowEnabled(lastFocus_)) {
                SetFocus(lastFocus_);
            } else {
                p.built.tabOrder().focusFirst();
            }
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1) {
                p.controller->Timer1_Timer();
                // The date panel turns over at midnight.
                p.statusBar1->showDate();
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (HCURSOR shown = p.pointer.shown()) {
                SetCursor(shown);
                return TRUE;
            }
            break;
        case WM_DPICHANGED:  // laid out again at the new scale by now
            parts_->statusBar1->fitFont(parts_->built.dpi());
            return 0;
        case WM_DROPFILES:
            dropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_CLOSE:  // the window's unload, or a request to stop the running job
            if (p.controller->Form_QueryUnload()) {
                p.controller->Form_Unload();
            }
            return 0;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace tessark::win32
