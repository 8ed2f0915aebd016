// SPDX-License-Identifier: MIT
// The inverse of a square matrix over GF(2^16), for rebuilding lost slices
// from as many recovery slices. Small and private to the rebuild.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "engine/recovery/gf16.h"

namespace tessark::recovery {

// `matrix` is n x n, row by row; nothing when it is singular.
std::optional<std::vector<gf16::Elem>> invertMatrix(std::vector<gf16::Elem> matrix, std::size_t n);

}  // namespace tessark::recovery
