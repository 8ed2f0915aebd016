// SPDX-License-Identifier: MIT
// The pieces of a merge in order: named one by one, as the window's list holds
// them, or a numbered run FIRST001, FIRST002, ... named on demand, so that a
// set found on disk takes no memory however many pieces it has.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "engine/core/text.h"

namespace tessark {

class PieceList {
  public:
    PieceList() = default;
    PieceList(std::vector<Text> names) : names_(std::move(names)) {}  // implicit on purpose
    PieceList(std::initializer_list<Text> names) : names_(names) {}

    // `first` ends in "001"; the run is the `count` names that differ from it
    // in that number only (three digits at least, as a split writes them).
    static PieceList numbered(Text first, std::int64_t count);

    std::int64_t size() const;
    bool empty() const { return size() == 0; }
    Text operator[](std::int64_t index) const;

    void reserve(std::size_t n) { names_.reserve(n); }
    void push_back(Text name) { names_.push_back(std::move(name)); }

  private:
    std::vector<Text> names_;
    Text stem_;  // a numbered run: the first name without its "001"
    std::int64_t runLength_ = 0;
};

}  // namespace tessark
