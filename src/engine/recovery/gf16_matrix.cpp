// SPDX-License-Identifier: MIT
#include "engine/recovery/gf16_matrix.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <utility>

namespace tessark::gf16 {
namespace {

// A row as the region kernel sees it: little-endian 16-bit words, which is
// how Elem lies in memory here.
static_assert(std::endian::native == std::endian::little);

std::span<const std::byte> bytesOf(std::span<const Elem> row) {
    return std::as_bytes(row);
}
std::span<std::byte> bytesOf(std::span<Elem> row) {
    return std::as_writable_bytes(row);
}

}  // namespace

Matrix Matrix::identity(std::size_t n) {
    Matrix m(n);
    for (std::size_t i = 0; i < n; ++i)
        m.at(i, i) = 1;
    return m;
}

Matrix operator*(const Matrix& a, const Matrix& b) {
    if (a.size() != b.size())
        throw std::invalid_argument("gf16::Matrix: sizes");
    Matrix product(a.size());
    // Row i of the product is the sum of b's rows, each times a(i, k).
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t k = 0; k < a.size(); ++k) {
            mulAdd(a.at(i, k), bytesOf(b.row(k)), bytesOf(product.row(i)));
        }
    }
    return product;
}

std::optional<Matrix> inverse(Matrix m) {
    const std::size_t n = m.size();
    // Gauss-Jordan in place: column k of the identity the elimination would
    // carry beside m takes the place of m's column k, which the elimination
    // has just made a unit column. Row swaps become column swaps at the end.
    std::vector<std::pair<std::size_t, std::size_t>> swaps;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pivot = k;
        while (pivot < n && m.at(pivot, k) == 0)
            ++pivot;
        if (pivot == n)
            return std::nullopt;
        if (pivot != k) {
            std::swap_ranges(m.row(k).begin(), m.row(k).end(), m.row(pivot).begin());
            swaps.emplace_back(k, pivot);
        }
        const Elem scale = div(1, m.at(k, k));
        m.at(k, k) = 1;
        for (Elem& e : m.row(k))
            e = mul(e, scale);
        for (std::size_t j = 0; j < n; ++j) {
            const Elem f = m.at(j, k);
            if (j == k || f == 0)
                continue;
            m.at(j, k) = 0;
            mulAdd(f, bytesOf(std::span<const Elem>(m.row(k))), bytesOf(m.row(j)));
        }
    }
    for (auto s = swaps.rbegin(); s != swaps.rend(); ++s) {
        for (std::size_t r = 0; r < n; ++r)
            std::swap(m.at(r, s->first), m.at(r, s->second));
    }
    return m;
}

}  // namespace tessark::gf16
