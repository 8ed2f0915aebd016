// SPDX-License-Identifier: MIT
#include "win32/form2.h"

#include <stdexcept>

#include "design/maker.h"
#include "engine/platform/native_file_system.h"
#include "win32/form1.h"
#include "win32/form2_parts.h"
#include "win32/frm_about.h"
#include "win32/keys.h"
#include "win32/win32_text.h"

namespace tessark::win32 {

namespace {

constexpr UINT_PTR kTimer1 = 1;

// The maker's site in the default browser; a failure to start it is not
// reported (the About window is already up).
void openMakerSite() {
    const Text address = design::maker::webSiteUrl();
    ShellExecuteW(nullptr, L"open", wide(address), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

Form2::Form2(Form2Services services) : services_(std::move(services)), parts_(new Parts) {
    if (!services_.openWebSite) {
        services_.openWebSite = &openMakerSite;
    }
    if (!services_.endProgram) {
        services_.endProgram = [] { PostQuitMessage(0); };
    }
    createWindow();
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

void Form2::createWindow() {
    Parts& p = *parts_;
    if (!p.built.create(design::form2Design(), nullptr, *this)) {
        throw std::runtime_error("cannot create the main window");
    }
    window_ = p.built.window();

    const design::Control* status = design::form2Design().find("StatusBar1");
    std::array<int, Win32StatusBar::kPanels> widths{};
    for (std::size_t i = 0; i < widths.size() && status != nullptr && i < status->panels.size();
         ++i) {
        widths[i] = p.built.pixels(status->panels[i].width);
    }
    p.text1 = std::make_unique<Win32TextBox>(control("Text1"));
    p.text2 = std::make_unique<Win32TextBox>(control("Text2"));
    p.text3 = std::make_unique<Win32TextBox>(control("Text3"));
    p.text4 = std::make_unique<Win32TextBox>(control("Text4"));
    p.option1 = std::make_unique<Win32OptionButton>(control("Option1"));
    p.label2 = std::make_unique<Win32Label>(control("Label2"), true);
    p.list1 = std::make_unique<Win32ListBox>(control("List1"), p.built.tooltips(),
                                             [this] { List1_Click(); });
    p.taskbar = std::make_unique<TaskbarProgress>(window_);
    p.progressBar1 = std::make_unique<Win32ProgressBar>(control("ProgressBar1"), p.taskbar.get());
    p.statusBar1 = std::make_unique<Win32StatusBar>(control("StatusBar1"), widths);
    for (std::size_t i = 0; status != nullptr && i < status->panels.size(); ++i) {
        if (status->panels[i].style == design::PanelStyle::Text) {
            p.statusBar1->setPanelText(static_cast<int>(i) + 1, status->panels[i].text);
        }
    }
    p.statusBar1->fitFont(p.built.dpi());
    p.repaint = std::make_unique<Win32RepaintHook>(window_, control("Command13"));

    p.fileSystem = services_.fileSystem;
    if (p.fileSystem == nullptr) {
        p.ownFileSystem = makeNativeFileSystem();
        p.fileSystem = p.ownFileSystem.get();
    }
    p.messages = services_.messages;
    if (p.messages == nullptr) {
        p.ownMessages = std::make_unique<Win32MessageBox>(window_, p.taskbar.get());
        p.messages = p.ownMessages.get();
    }
    p.dialog = services_.dialog;
    if (p.dialog == nullptr) {
        p.ownDialog = std::make_unique<Win32CommonDialog>(window_);
        p.dialog = p.ownDialog.get();
    }
    p.drives = services_.drives;
    if (p.drives == nullptr) {
        p.ownDrives = makeNativeDriveSource();
        p.drives = p.ownDrives.get();
    }

    wireKeys();
    DragAcceptFiles(window_, TRUE);
    const design::Control* timer = design::form2Design().find("Timer1");
    SetTimer(window_, kTimer1, timer != nullptr ? static_cast<UINT>(timer->interval) : 1000,
             nullptr);
    p.built.focusFirst();
}

void Form2::wireKeys() {
    // Every control that takes the focus hands its keys to its handler.
    static constexpr std::pair<const char*, void (Form2::*)(int)> kKeyHandlers[] = {
        {"Text1", &Form2::Text1_KeyPress},     {"Text2", &Form2::Text2_KeyPress},
        {"Text3", &Form2::Text3_KeyPress},     {"Text4", &Form2::Text4_KeyPress},
        {"Option1", &Form2::Option1_KeyPress}, {"List1", &Form2::List1_KeyPress},
    };
    for (const design::Control* described : design::form2Design().tabOrder()) {
        const std::string name(described->name);
        HWND focusable = control(name.c_str());
        if (focusable == nullptr) {
            continue;
        }
        void (Form2::*handler)(int) = nullptr;
        for (const auto& [control, own] : kKeyHandlers) {
            if (name == control) {
                handler = own;
            }
        }
        onKeyPress(focusable, [this, handler, name](int keyAscii) {
            if (handler != nullptr) {
                (this->*handler)(keyAscii);
            } else {
                keyPress(name, keyAscii);
            }
        });
    }
}

void Form2::keyPress(std::string_view name, int keyAscii) {
    switch (design::form2KeyAction(name, keyAscii)) {
        case design::KeyAction::StartSplit:
            Command3_Click();
            break;
        case design::KeyAction::StartMerge:
            Command6_Click();
            break;
        case design::KeyAction::Press:
            SendMessageW(control(std::string(name).c_str()), BM_CLICK, 0, 0);
            break;
        case design::KeyAction::PassOn:
            break;
    }
}

HWND Form2::control(const char* name) const {
    return parts_->built.control(name);
}

Win32StatusBar& Form2::statusBar() {
    return *parts_->statusBar1;
}

void Form2::Form_Load() {
    // Centred by the outer frame; the web panel stays empty on Windows.
    centreOnScreen(window_);
}

void Form2::Timer1_Timer() {
    wchar_t time[128];
    const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
    if (length > 0) {
        parts_->statusBar1->setPanelText(5, fromWide(time, static_cast<std::size_t>(length - 1)));
    }
    // The date panel turns over at midnight.
    parts_->statusBar1->showDate();
}

void Form2::StatusBar1_PanelClick(int panel) {
    design::statusPanelClick(*this, panel);
}

void Form2::Command12_Click() {
    design::aboutClick(*this);
}

void Form2::hideMain() {
    ShowWindow(window_, SW_HIDE);
}

void Form2::openWebSite() {
    services_.openWebSite();
}

void Form2::Command13_Click() {
    services_.endProgram();
}

std::optional<LRESULT> Form2::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (onCommand(LOWORD(wParam), HIWORD(wParam))) {
                return 0;
            }
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == control("StatusBar1") && header->code == NM_CLICK) {
                const auto* click = reinterpret_cast<const NMMOUSE*>(lParam);
                StatusBar1_PanelClick(static_cast<int>(click->dwItemSpec) + 1);
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
                parts_->built.focusFirst();
            }
            return 0;
        case WM_TIMER:
            if (wParam == kTimer1) {
                Timer1_Timer();
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (HCURSOR shown = parts_->pointer.shown()) {
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
            if (jobRunning_) {
                parts_->repaint->ask(StopRequest::StopAndEnd);
            } else {
                services_.endProgram();
            }
            return 0;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace tessark::win32
