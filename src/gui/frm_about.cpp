// SPDX-License-Identifier: MIT
#include "gui/frm_about.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "gui/icons.h"
#include "gui/maker.h"
#include "qtshared/qt_text.h"

namespace tessark {

frmAbout::frmAbout(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("关于Quorin文件分割机 Tessark"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(QIcon());
    setFont(songFont(fontpx::Pt9));
    setFixedSize(twips(6450), twips(3195));
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(icons::program().pixmap(32, 32));
    picIcon->setGeometry(twipRect(360, 120, 480, 480));

    label("lblTitle", 1080, 240, QStringLiteral("Tessark Quorin文件分割机"),
          songFont(fontpx::Pt12_75, true));
    label("lblDescription", 1080, 600, QStringLiteral("出品： Quorin工作室"));
    label("Label1", 1080, 840, QStringLiteral("网址： ") + maker::kHost.toString());
    label("lblVersion", 1080, 1080, QStringLiteral("版本： ") + maker::shownVersion());
    label("Label5", 1080, 1320, QStringLiteral("邮箱："));
    QLabel* mail =
        label("Label6", 1680, 1320, maker::kEmail.toString(), songFont(fontpx::Pt9, false, true));
    mail->setCursor(Qt::PointingHandCursor);
    mail->setToolTip(QStringLiteral("写信给我"));
    QPalette blue = mail->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    mail->setPalette(blue);
    label(
        "Label7", 360, 1800,
        QStringLiteral("提示:  文件分割后会在文件所在的位置生成\u3000\"Link.bat\"\u3000供合并用"));
    label("Label8", 960, 2040,
          QStringLiteral("分割完后可将此文件一同拷贝,然后执行 \"Link\" 就可合并文件"));
    label("Label9", 960, 2280, QStringLiteral("当然, 你也可以用本软件的 \"合并\" 功能合并文件"));

    auto* Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Line1->setGeometry(twips(240), twips(1680), twips(6120) - twips(240), 1);

    auto* cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipRect(4200, 2640, 1500, 345));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    cmdOK->setFocus();

    if (const QScreen* screen = mainWindow->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

QLabel* frmAbout::label(const char* name, int left, int top, const QString& text,
                        const QFont& font) {
    auto* result = new QLabel(text, this);
    result->setFont(font);
    result->setObjectName(QLatin1String(name));
    result->setTextFormat(Qt::PlainText);
    result->move(twips(left), twips(top));
    result->adjustSize();
    return result;
}

void frmAbout::cmdOK_Click() {
    mainWindow_->show();
    close();
}

void frmAbout::Form_Unload() {
    mainWindow_->show();
}

void frmAbout::reject() {
    cmdOK_Click();
}

void frmAbout::done(int /*result*/) {
    cmdOK_Click();
}

void frmAbout::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

}  // namespace tessark
