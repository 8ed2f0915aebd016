// SPDX-License-Identifier: MIT
// Form2's controls: names, places, captions, fonts, pictures and the
// keyboard order. Positions are designed in twips relative to the container.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "gui/form2.h"
#include "gui/icons.h"
#include "gui/maker.h"
#include "qtshared/qt_text.h"
#include "gui/web_browser.h"

namespace tessark {

namespace {

template <typename W>
W* place(W* widget, const char* name, QRect twipGeometry, int fontPixels = fontpx::Pt9) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twipGeometry);
    // Every control has its own font, so a frame's caption font stays its own.
    widget->setFont(songFont(fontPixels));
    return widget;
}

QGroupBox* frame(QWidget* in, const char* name, QRect at, const QString& caption,
                 int fontPixels = fontpx::Pt9) {
    return place(new QGroupBox(caption, in), name, at, fontPixels);
}

QLabel* label(QWidget* in, const char* name, QRect at, const QString& caption,
              int fontPixels = fontpx::Pt9) {
    auto* result = place(new QLabel(caption, in), name, at, fontPixels);
    result->setTextFormat(Qt::PlainText);
    return result;
}

QLineEdit* textBox(QWidget* in, const char* name, QRect at) {
    return place(new QLineEdit(in), name, at, fontpx::Pt11_25);
}

QPushButton* pictureButton(QWidget* in, const char* name, QRect at, const QIcon& picture,
                           const QString& toolTip = {}) {
    auto* button = place(new QPushButton(in), name, at);
    button->setIcon(picture);
    button->setIconSize({16, 16});
    button->setToolTip(toolTip);
    return button;
}

// A button showing its caption under a 24 × 23 picture.
QToolButton* captionedButton(QWidget* in, const char* name, QRect at, const QString& caption,
                             const QIcon& picture) {
    auto* button = place(new QToolButton(in), name, at);
    button->setText(caption);
    button->setIcon(picture);
    button->setIconSize({24, 23});
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

}  // namespace

void Form2::buildControls() {
    buildSplitArea();

    Line1 = place(new QFrame(this), "Line1", QRect(0, twips(3360), twips(8040), 1));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);

    buildMergeArea();
    buildBottomRow();
    setTabOrder();
}

void Form2::buildSplitArea() {
    Frame4 = frame(this, "Frame4", twipRect(120, 240, 7695, 2895), QStringLiteral("文件分割"));
    Frame5 = frame(Frame4, "Frame5", twipRect(120, 360, 5655, 2415), QStringLiteral(" 分割区 "),
                   fontpx::Pt11_25);
    Label10 = label(Frame5, "Label10", twipRect(240, 480, 1620, 180),
                    QStringLiteral("请输入要分割的文件"));
    Text1 = textBox(Frame5, "Text1", twipRect(120, 720, 4935, 390));
    Command1 =
        pictureButton(Frame5, "Command1", twipRect(5160, 720, 375, 375), icons::openFolder());
    Label2 = label(Frame5, "Label2", twipRect(120, 1200, 120, 225), {}, fontpx::Pt11_25);
    Label11 = label(Frame5, "Label11", twipRect(240, 1680, 2700, 180),
                    QStringLiteral("请输入分割完成后文件的存放位置"));
    Text2 = textBox(Frame5, "Text2", twipRect(120, 1920, 4935, 375));
    Command2 =
        pictureButton(Frame5, "Command2", twipRect(5160, 1920, 375, 375), icons::openFolder());

    Frame6 = frame(Frame4, "Frame6", twipRect(5880, 360, 1695, 1455), QStringLiteral("分割块尺寸"));
    Option1 = place(new QRadioButton(QStringLiteral("1.44M"), Frame6), "Option1",
                    twipRect(360, 240, 975, 375));
    Option1->setChecked(true);
    Option2 = place(new QRadioButton(QStringLiteral("自定义"), Frame6), "Option2",
                    twipRect(360, 720, 855, 255));
    Text3 = place(new QLineEdit(Frame6), "Text3", twipRect(480, 1080, 855, 270));
    Text3->setEnabled(false);
    Text3->hide();
    Label1 = label(Frame6, "Label1", twipRect(1395, 1080, 210, 195), QStringLiteral("KB"));
    Label1->hide();

    Command3 = captionedButton(Frame4, "Command3", twipRect(5880, 1920, 1695, 855),
                               QStringLiteral("开始分割"), icons::splitPicture());
    ProgressBar1 = place(new QProgressBar(Frame4), "ProgressBar1", twipRect(2520, 1560, 2700, 355));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
}

void Form2::buildMergeArea() {
    Frame1 = frame(this, "Frame1", twipRect(120, 3480, 7695, 3255), QStringLiteral("文件合并"));
    Frame2 = frame(Frame1, "Frame2", twipRect(120, 360, 7455, 2775), QStringLiteral(" 合并区 "),
                   fontpx::Pt11_25);
    Label4 = label(Frame2, "Label4", twipRect(120, 360, 1950, 195),
                   QStringLiteral("请输入合并后的文件名"), fontpx::Pt9_75);
    Text4 = textBox(Frame2, "Text4", twipRect(120, 360, 6735, 390));
    Text4->raise();  // covers Label4, which lies at the same place
    Command10 =
        pictureButton(Frame2, "Command10", twipRect(6960, 360, 375, 375), icons::openFolder());
    List1 = place(new QListWidget(Frame2), "List1", twipRect(120, 960, 4935, 1680));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setSortingEnabled(false);

    Frame3 = frame(Frame2, "Frame3", twipRect(5160, 840, 2175, 1815), QStringLiteral(" 操作区 "));
    Command4 = pictureButton(Frame3, "Command4", twipRect(600, 240, 375, 375), icons::blankPage(),
                             QStringLiteral("添加文件供合并"));
    Command5 = pictureButton(Frame3, "Command5", twipRect(600, 720, 375, 375), icons::blackCross(),
                             QStringLiteral("删除选定文件"));
    Command7 = pictureButton(Frame3, "Command7", twipRect(600, 1200, 375, 375),
                             icons::redCrossList(), QStringLiteral("清空合并文件"));
    Command9 = pictureButton(Frame3, "Command9", twipRect(120, 480, 375, 375), icons::arrowUp(),
                             QStringLiteral("上移"));
    Command8 = pictureButton(Frame3, "Command8", twipRect(120, 960, 375, 375), icons::arrowDown(),
                             QStringLiteral("下移"));
    Command6 = captionedButton(Frame3, "Command6", twipRect(1080, 240, 975, 1335),
                               QStringLiteral("开始合并"), icons::mergePicture());
    Command6->setToolTip(QStringLiteral("开始合并"));
}

void Form2::buildBottomRow() {
    WebBrowser1 = place(new WebBrowser(this), "WebBrowser1", twipRect(120, 6840, 3855, 375));
    Command12 = place(new QPushButton(QStringLiteral("关于..."), this), "Command12",
                      twipRect(5280, 6840, 1215, 375));
    Command13 = place(new QPushButton(QStringLiteral("退出程序"), this), "Command13",
                      twipRect(6600, 6840, 1095, 375));

    StatusBar1 =
        place(new StatusPanels(services_.now, this), "StatusBar1", twipRect(0, 7305, 7935, 375));
    StatusBar1->setPanelText(1, u"欢迎使用Quorin文件分割机");
    StatusBar1->setPanelText(
        2, tx(QStringLiteral("Quorin工作室 ") + maker::kStudioAddress.toString()));
    StatusBar1->setPanelText(3, tx(QStringLiteral("QQ：") + maker::kContactNumber.toString()));
}

void Form2::setTabOrder() {
    QWidget* const order[] = {Text1,    Command1, Text2,     Command2,  Option1,
                              Option2,  Text3,    Command3,  Text4,     Command10,
                              List1,    Command4, Command5,  Command6,  Command7,
                              Command8, Command9, Command12, Command13, WebBrowser1};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(order[i], order[i + 1]);
    }
}

}  // namespace tessark
