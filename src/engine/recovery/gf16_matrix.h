// SPDX-License-Identifier: MIT
// Square matrices over GF(2^16), and their inverse: the repair of lost slices
// solves a square system whose matrix holds the constants of the lost input
// slices at the exponents of the recovery slices at hand.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "engine/recovery/gf16.h"

namespace tessark::gf16 {

// n x n elements, row by row: n * n * 2 bytes, so the caller bounds n (the
// number of slices to rebuild).
class Matrix {
  public:
    // All zeros.
    explicit Matrix(std::size_t n) : n_(n), cells_(n * n, 0) {}
    static Matrix identity(std::size_t n);

    std::size_t size() const { return n_; }
    Elem& at(std::size_t row, std::size_t column) { return cells_[row * n_ + column]; }
    Elem at(std::size_t row, std::size_t column) const { return cells_[row * n_ + column]; }
    std::span<Elem> row(std::size_t r) { return {cells_.data() + r * n_, n_}; }
    std::span<const Elem> row(std::size_t r) const { return {cells_.data() + r * n_, n_}; }

    friend bool operator==(const Matrix&, const Matrix&) = default;

  private:
    std::size_t n_;
    std::vector<Elem> cells_;
};

// The product a * b (the same size).
Matrix operator*(const Matrix& a, const Matrix& b);

// The inverse, by Gauss-Jordan elimination in place (no second matrix; the
// row operations are the region kernel's multiply-adds), or std::nullopt when
// the matrix is singular.
std::optional<Matrix> inverse(Matrix m);

}  // namespace tessark::gf16
