// SPDX-License-Identifier: MIT
// The window's words for what recovery data can do at a merge: the question
// before pieces are rebuilt, the line that says which were, and the line
// that says how far the recovery data falls short.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/text.h"
#include "engine/recovery/par2_check.h"

namespace tessark {

// "文件 m.003 已损坏，可以用恢复数据修复。是否修复后合并？", naming up to five
// pieces (a missing one "缺少") and how many more.
Text rebuildQuestion(const recovery::RecoveryCheck& check);

// "已用恢复数据重建 m.003、m.005。"
Text rebuiltLine(const std::vector<Text>& pieces);

// "恢复数据不足：需要 2 块，只有 1 块。"
Text shortfallLine(std::int64_t needed, std::int64_t available);

}  // namespace tessark
