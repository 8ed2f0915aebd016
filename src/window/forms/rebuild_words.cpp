// SPDX-License-Identifier: MIT
#include "forms/rebuild_words.h"

namespace tessark {

namespace {

constexpr std::size_t kNamed = 5;

}  // namespace

Text rebuildQuestion(const recovery::RecoveryCheck& check) {
    Text text = u"文件 ";
    std::size_t lost = 0;
    for (std::size_t i = 0; i < check.pieceReports.size(); ++i) {
        const recovery::PieceReport& piece = check.pieceReports[i];
        if (!piece.needsRepair()) {
            continue;
        }
        if (lost++ < kNamed) {
            text += (lost > 1 ? u"，" : u"") + check.pieces[i] +
                    (piece.present ? u" 已损坏" : u" 缺少");
        }
    }
    if (lost > kNamed) {
        text += u"等 " + decimal(static_cast<std::int64_t>(lost)) + u" 个文件";
    }
    return text + u"，可以用恢复数据修复。是否修复后合并？";
}

Text rebuiltLine(const std::vector<Text>& pieces) {
    Text text = u"已用恢复数据重建 ";
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        text += (i > 0 ? u"、" : u"") + pieces[i];
    }
    return text + u"。";
}

Text shortfallLine(std::int64_t needed, std::int64_t available) {
    return u"恢复数据不足：需要 " + decimal(needed) + u" 块，只有 " + decimal(available) + u" 块。";
}

}  // namespace tessark
