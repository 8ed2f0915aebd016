// SPDX-License-Identifier: MIT
// Starts the Windows program: the main window, then the files named on the
// command line ("Open with", the context menu), once the window is up.
#include "win32/win32_api.h"

#include "win32/file_drops.h"
#include "win32/form2.h"
#include "win32/keys.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                        ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&controls)) {
        return 1;
    }
    try {
        tessark::win32::Form2 window;
        ShowWindow(window.handle(), showCommand);
        const auto files = tessark::win32::commandLineFiles(GetCommandLineW());
        if (!files.empty()) {
            UpdateWindow(window.handle());
            window.openFiles(files);
        }
        return tessark::win32::runMessageLoop();
    } catch (const std::exception&) {
        MessageBoxW(nullptr, L"文件分割机无法打开主窗口。", L"文件分割机", MB_ICONSTOP);
        return 1;
    }
}
