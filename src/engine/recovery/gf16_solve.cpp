// SPDX-License-Identifier: MIT
#include "engine/recovery/gf16_solve.h"

#include <span>
#include <utility>

namespace tessark::recovery {
namespace {

std::span<gf16::Elem> row(std::vector<gf16::Elem>& m, std::size_t n, std::size_t r) {
    return std::span(m).subspan(r * n, n);
}

}  // namespace

std::optional<std::vector<gf16::Elem>> invertMatrix(std::vector<gf16::Elem> matrix, std::size_t n) {
    std::vector<gf16::Elem> inverse(n * n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        inverse[i * n + i] = 1;
    }
    // Gauss-Jordan; each row operation is one region multiply-add.
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        while (pivot < n && matrix[pivot * n + col] == 0) {
            ++pivot;
        }
        if (pivot == n) {
            return std::nullopt;
        }
        if (pivot != col) {
            for (std::size_t k = 0; k < n; ++k) {
                std::swap(matrix[pivot * n + k], matrix[col * n + k]);
                std::swap(inverse[pivot * n + k], inverse[col * n + k]);
            }
        }
        const gf16::Elem scale = gf16::div(1, matrix[col * n + col]);
        for (std::size_t k = 0; k < n; ++k) {
            matrix[col * n + k] = gf16::mul(matrix[col * n + k], scale);
            inverse[col * n + k] = gf16::mul(inverse[col * n + k], scale);
        }
        for (std::size_t r = 0; r < n; ++r) {
            const gf16::Elem factor = matrix[r * n + col];
            if (r == col || factor == 0) {
                continue;
            }
            gf16::mulAdd(factor, std::as_bytes(row(matrix, n, col)),
                         std::as_writable_bytes(row(matrix, n, r)));
            gf16::mulAdd(factor, std::as_bytes(row(inverse, n, col)),
                         std::as_writable_bytes(row(inverse, n, r)));
        }
    }
    return inverse;
}

}  // namespace tessark::recovery
