// SPDX-License-Identifier: MIT
#include "forms/refusal_box.h"

#include "forms/box_style.h"
#include "forms/controls.h"

namespace tessark {

namespace {

constexpr char16_t kNoSource[] = u"没有指定源文件!";
constexpr char16_t kTargetExists[] = u"指定的目标文件已经存在，请重新取名!";
constexpr char16_t kOnlyFolder[] = u"目标文件框中只指定了文件夹，请指定文件名";

TextBox* boxOf(MainControls& window, InputField field) {
    switch (field) {
        case InputField::Source:
            return &window.Text1;
        case InputField::Target:
            return &window.Text2;
        case InputField::BlockSize:
            return &window.Text3;
        case InputField::Output:
            return &window.Text4;
        case InputField::None:
            break;
    }
    return nullptr;
}

}  // namespace

RefusalBox refusalBox(const SplitRefusal& refusal) {
    using enum SplitCheck;
    constexpr int warn = mb::Exclamation;
    constexpr int inform = mb::Information;
    switch (refusal.check) {
        case NoSource:
            return {kNoSource, warn, InputField::Source};
        case SourceIsFolder:
            return {kNoSource, warn, InputField::Source, Selection::All};
        case SourceMissing:
            return {u"源文件  " + refusal.path + u"  不存在!", warn, InputField::Source,
                    Selection::All};
        case NoTarget:
            return {u"没有指定分割后的文件!", warn, InputField::Target};
        case TargetIsFolder:
            return {kOnlyFolder, warn, InputField::Target, Selection::CaretToEnd};
        case TargetExists:
        case TargetIsSource:  // in the window's words, the same name taken
            return {kTargetExists, inform, InputField::Target, Selection::All};
        case TargetFolderMissing:
            return {u"目标文件中的路径不存在!", warn, InputField::Target, Selection::All};
        case UnsafeScriptName:
            return {u"目标文件名中含有批处理文件不能使用的字符!", warn, InputField::Target,
                    Selection::All};
        case NoBlockSize:
            return {u"分割块大小没有指定!", inform, InputField::BlockSize};
        case BlockLargerThanFile:
            return {u"块文件比要分割的文件还要大!没必要分割!", inform};
        case TooManyForChecksum:
            return {u"分割后的文件太多，校验文件容纳不下，请加大分割块!", warn};
        case TargetNotAFile:
            return {u"目标文件  " + refusal.path + u"  不是普通文件，不能写入!", warn,
                    InputField::Target, Selection::All};
    }
    return {kNoSource, warn};
}

RefusalBox refusalBox(const MergeRefusal& refusal) {
    constexpr int warn = mb::Exclamation;
    switch (refusal.check) {
        case MergeCheck::NoOutput:
            return {u"没有指定合并后的文件名!", warn, InputField::Output};
        case MergeCheck::OutputIsFolder:
            return {kOnlyFolder, warn, InputField::Output, Selection::All};
        case MergeCheck::OutputFolderMissing:
            return {u"合并后的存储文件的路径不存在!", warn, InputField::Output, Selection::All};
        case MergeCheck::NoPieces:
            return {u"没有项目供合并!", warn};
        case MergeCheck::OutputNotAFile:
            return {u"合并后的文件  " + refusal.path + u"  不是普通文件，不能写入!", warn,
                    InputField::Output, Selection::All};
    }
    return {u"没有项目供合并!", warn};
}

void showRefusal(MainControls& window, const RefusalBox& refusal) {
    window.messages.show(refusal.message, refusal.style);
    TextBox* box = boxOf(window, refusal.field);
    if (!box) {
        return;
    }
    if (refusal.selection == Selection::All) {
        box->selectAll();
    } else if (refusal.selection == Selection::CaretToEnd) {
        box->caretToEnd();
    }
    box->setFocus();
}

}  // namespace tessark
