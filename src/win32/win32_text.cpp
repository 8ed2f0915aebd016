// SPDX-License-Identifier: MIT
#include "win32/win32_text.h"

namespace tessark::win32 {

std::wstring filterList(const Text& filter) {
    std::wstring list;
    std::size_t parts = 0;
    std::size_t start = 0;
    while (start <= filter.size()) {
        std::size_t end = filter.find(u'|', start);
        if (end == Text::npos) {
            end = filter.size();
        }
        list.append(reinterpret_cast<const wchar_t*>(filter.data() + start), end - start);
        list.push_back(L'\0');
        ++parts;
        start = end + 1;
    }
    if (parts % 2 != 0) {
        // Drop the lone description (or the empty filter's one empty part).
        list.pop_back();
        const std::size_t previous = list.find_last_of(L'\0');
        list.erase(previous == std::wstring::npos ? 0 : previous + 1);
    }
    list.push_back(L'\0');
    if (list.size() == 1) {
        list.push_back(L'\0');
    }
    return list;
}

Text windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, buffer.data(), length + 1);
    return fromWide(buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

}  // namespace tessark::win32
