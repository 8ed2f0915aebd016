// SPDX-License-Identifier: MIT
// Module1: the link to the maker's web site.
#pragma once

namespace tessark::Module1 {

// Opens the maker's web site in the desktop's browser. A failure to start it
// is ignored: the caller has already shown what it wanted to show.
void OpenWebSite();

}  // namespace tessark::Module1
