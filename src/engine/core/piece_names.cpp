// SPDX-License-Identifier: MIT
#include "engine/core/piece_names.h"

#include <algorithm>

namespace tessark {

namespace {

PieceNumber numberOf(TextView digits) {
    PieceNumber number{Text(digits.substr(digits.find_first_not_of(u'0'))), 0};
    if (number.digits.size() > 18) {
        number.value = kPieceNumberTooLong;
        return number;
    }
    for (const char16_t c : number.digits) {
        number.value = number.value * 10 + (c - u'0');
    }
    return number;
}

}  // namespace

Text pieceSuffix(std::int64_t pieceNumber) {
    Text digits = decimal(pieceNumber);
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), u'0');
    }
    return u"." + digits;
}

Text pieceName(TextView target, std::int64_t pieceNumber) {
    return Text(target) + pieceSuffix(pieceNumber);
}

bool isFirstPiece(TextView name) {
    return name.ends_with(u"001");
}

bool isPieceNumber(TextView digits) {
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char16_t c) {
        return c >= u'0' && c <= u'9';
    }) && digits.find_first_not_of(u'0') != TextView::npos;
}

std::optional<PieceNumber> pieceNumberAfter(TextView name, TextView fixedPart) {
    if (!name.starts_with(fixedPart) || !isPieceNumber(name.substr(fixedPart.size()))) {
        return std::nullopt;
    }
    return numberOf(name.substr(fixedPart.size()));
}

bool splitSpelling(TextView name, TextView fixedPart, const PieceNumber& number) {
    return number.value != kPieceNumberTooLong &&
           name.substr(fixedPart.size()) == TextView(pieceSuffix(number.value)).substr(1);
}

Text fixedPartOf(const Text& firstPiece, char16_t separator) {
    const Text name = GetFileName(firstPiece, separator);
    return name.substr(0, name.size() - 3);
}

std::optional<Text> targetOfPiece(TextView piece) {
    const std::size_t dot = piece.find_last_of(u'.');
    if (dot == TextView::npos || !isPieceNumber(piece.substr(dot + 1))) {
        return std::nullopt;
    }
    return Text(piece.substr(0, dot));
}

std::optional<PieceNumber> trailingPieceNumber(TextView path) {
    const auto target = targetOfPiece(path);
    if (!target) {
        return std::nullopt;
    }
    return numberOf(path.substr(target->size() + 1));
}

// Where neither the target nor the name without its extension can be formed
// (no "." at all, or the last "$" after the last "."), the chosen name
// without its piece number and any "." left at its end.
Text proposedOutputOf(const Text& chosen) {
    const std::size_t dollar = lastIndexOf(chosen, u'$');
    const std::size_t dot = lastIndexOf(chosen, u'.');
    const bool hasDollar = dollar != Text::npos;
    if (dot == Text::npos || (hasDollar && dollar > dot)) {
        Text name = chosen.substr(0, chosen.size() - 3);
        while (!name.empty() && name.back() == u'.') {
            name.pop_back();
        }
        return name;
    }
    if (hasDollar) {
        return chosen.substr(0, dollar) + chosen.substr(dollar + 1, dot - dollar - 1);
    }
    return chosen.substr(0, dot);
}

}  // namespace tessark
