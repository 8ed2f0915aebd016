// SPDX-License-Identifier: MIT
#include "forms/folder_paths.h"

namespace tessark {

Text childFolder(TextView folder, TextView name, char16_t separator) {
    Text child(folder);
    if (!child.empty() && child.back() != separator) {
        child += separator;
    }
    child += name;
    return child;
}

std::vector<Text> folderChain(TextView folder, char16_t separator) {
    const std::size_t firstSeparator = folder.find(separator);
    if (firstSeparator == TextView::npos) {
        return {Text(folder)};
    }
    std::vector<Text> chain{Text(folder.substr(0, firstSeparator + 1))};
    std::size_t start = firstSeparator + 1;
    while (start < folder.size()) {
        std::size_t end = folder.find(separator, start);
        if (end == TextView::npos) {
            end = folder.size();
        }
        if (end > start) {  // doubled or trailing separators name no folder
            chain.push_back(
                childFolder(chain.back(), folder.substr(start, end - start), separator));
        }
        start = end + 1;
    }
    return chain;
}

Text folderCaption(TextView folder, char16_t separator) {
    const std::vector<Text> chain = folderChain(folder, separator);
    if (chain.size() == 1) {
        return chain.front();
    }
    return GetFileName(chain.back(), separator);
}

}  // namespace tessark
