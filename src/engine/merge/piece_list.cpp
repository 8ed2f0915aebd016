// SPDX-License-Identifier: MIT
#include "engine/merge/piece_list.h"

#include "engine/core/piece_names.h"

namespace tessark {

PieceList PieceList::numbered(Text first, std::int64_t count) {
    PieceList run;
    first.resize(first.size() - 3);
    run.stem_ = std::move(first);
    run.runLength_ = count;
    return run;
}

std::int64_t PieceList::size() const {
    return runLength_ > 0 ? runLength_ : static_cast<std::int64_t>(names_.size());
}

Text PieceList::operator[](std::int64_t index) const {
    if (runLength_ > 0) {
        return stem_ + pieceSuffix(index + 1).substr(1);
    }
    return names_[static_cast<std::size_t>(index)];
}

}  // namespace tessark
