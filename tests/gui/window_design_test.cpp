// SPDX-License-Identifier: MIT
// Each window as built by Qt against its description, control by control:
// class, name, container, place in twips, caption, tooltip, picture, font,
// state at start, and the keyboard order. The description is the table.
#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "design/window_design.h"
#include "engine/platform/drives.h"
#include "folderpicker/form1.h"
#include "gui_test.h"
#include "qtshared/qt_text.h"
#include "qtshared/qt_window_builder.h"

namespace tessark::test {

namespace {

using design::Control;
using design::Kind;

// The Qt class each kind of control is built as; none for the kinds
// without a widget.
const char* qtClass(Kind kind) {
    switch (kind) {
        case Kind::Frame:
            return "QGroupBox";
        case Kind::Label:
        case Kind::PictureBox:
            return "QLabel";
        case Kind::TextBox:
            return "QLineEdit";
        case Kind::Button:
        case Kind::PictureButton:
            return "QPushButton";
        case Kind::CaptionButton:
            return "QToolButton";
        case Kind::OptionButton:
            return "QRadioButton";
        case Kind::ListBox:
            return "QListWidget";
        case Kind::ProgressBar:
            return "QProgressBar";
        case Kind::Line:
            return "QFrame";
        case Kind::StatusBar:
            return "tessark::StatusPanels";
        case Kind::WebBrowser:
            return "tessark::WebBrowser";
        case Kind::DriveList:
            return "tessark::DriveList";
        case Kind::DirectoryList:
            return "tessark::DirectoryList";
        case Kind::Timer:
        case Kind::CommonDialog:
            break;
    }
    return nullptr;
}

QString captionOf(const QWidget* w) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(w)) {
        return frame->title();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        return edit->text();
    }
    return {};
}

QString nameOf(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

void checkGeometry(const QWidget* w, const Control& c) {
    if (c.kind == Kind::Line) {
        QCOMPARE(w->geometry(), QRect(twips(c.at.left), twips(c.at.top),
                                      twips(c.at.left + c.at.width) - twips(c.at.left), 1));
    } else if (c.autoSize && !c.caption.empty()) {
        // Placed as designed and sized to its text: nothing is cut off.
        QCOMPARE(w->pos(), QPoint(twips(c.at.left), twips(c.at.top)));
        QCOMPARE(w->size(), w->sizeHint());
    } else {
        QCOMPARE(w->geometry(), twipRect(c.at.left, c.at.top, c.at.width, c.at.height));
    }
}

void checkControl(const QWidget* window, const Control& c, bool setAtLoad) {
    const QWidget* w = window->findChild<QWidget*>(nameOf(c.name));
    QVERIFY(w != nullptr);
    QCOMPARE(w->metaObject()->className(), qtClass(c.kind));
    QCOMPARE(w->parentWidget()->objectName(),
             c.container.empty() ? window->objectName() : nameOf(c.container));
    checkGeometry(w, c);
    if (!setAtLoad) {
        QCOMPARE(captionOf(w), qs(c.caption));
    }
    QCOMPARE(w->toolTip(), qs(Text(c.toolTip)));
    QCOMPARE(!w->isHidden(), c.visible);
    QCOMPARE(w->isEnabled(), c.enabled);
    QCOMPARE(w->font().pixelSize(), design::toPixels(c.font.size));
    QCOMPARE(w->font().bold(), c.font.bold);
    QCOMPARE(w->font().underline(), c.font.underline);
    if (const auto* option = qobject_cast<const QRadioButton*>(w)) {
        QCOMPARE(option->isChecked(), c.checked);
    }
    const design::PixelSize picture = pictureSize(c.picture);
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        QCOMPARE(button->icon().isNull(), c.picture == design::Picture::None);
        if (c.picture != design::Picture::None) {
            QCOMPARE(button->iconSize(), QSize(picture.width, picture.height));
        }
    }
    if (c.kind == Kind::PictureBox) {
        QCOMPARE(qobject_cast<const QLabel*>(w)->pixmap().size(),
                 QSize(picture.width, picture.height));
    }
    if (c.foreColor) {
        QCOMPARE(w->palette().color(QPalette::WindowText),
                 QColor(c.foreColor->red, c.foreColor->green, c.foreColor->blue));
    }
    if (c.pointer == design::Pointer::Hand) {
        QCOMPARE(w->cursor().shape(), Qt::PointingHandCursor);
    }
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        QCOMPARE(button->isDefault(), c.isDefault);
    }
}

// The described keyboard order, as the focus chain of the built window runs.
QStringList focusChain(QWidget* window, const design::WindowDesign& d) {
    QSet<QWidget*> inOrder;
    for (const Control* c : d.tabOrder()) {
        inOrder.insert(window->findChild<QWidget*>(nameOf(c->name)));
    }
    QStringList chain;
    QWidget* w = window;
    do {
        if (inOrder.contains(w)) {
            chain << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != window && chain.size() <= inOrder.size());
    // The chain is a ring: start it at the first control of the order.
    const auto first = chain.indexOf(nameOf(d.tabOrder().front()->name));
    return chain.mid(first) + chain.mid(0, first);
}

class NoDrives : public DriveSource {
  public:
    std::vector<Text> drives() override { return {u"C:\\"}; }
};

}  // namespace

class WindowDesignTest : public QObject {
    Q_OBJECT

    // `loaded`: the control whose caption the window's load step has set.
    void checkWindow(QWidget* window, const design::WindowDesign& d, std::string_view loaded = {}) {
        QCOMPARE(window->objectName(), nameOf(d.name));
        QCOMPARE(window->windowTitle(), qs(d.caption));
        QCOMPARE(window->size(), QSize(twips(d.clientWidth), twips(d.clientHeight)));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint), d.minButton);
        QCOMPARE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), d.maxButton);
        QCOMPARE(window->windowIcon().isNull(), d.icon == design::Picture::None);
        QCOMPARE(window->font().pixelSize(), design::toPixels(d.font.size));
        for (const Control& c : d.controls) {
            if (qtClass(c.kind) == nullptr) {
                continue;
            }
            checkControl(window, c, c.name == loaded);
            if (QTest::currentTestFailed()) {
                qWarning("control %s of %s", c.name.data(), d.name.data());
                return;
            }
        }
        QStringList expected;
        for (const Control* c : d.tabOrder()) {
            expected << nameOf(c->name);
        }
        QCOMPARE(focusChain(window, d), expected);
    }

  private slots:
    void form2() {
        Harness h;
        checkWindow(h.form.get(), design::form2Design());
    }

    void about() {
        Harness h;
        h.form->controller().Command12_Click();
        checkWindow(h.form->about(), design::aboutDesign());
        h.form->about()->close();
    }

    void form1() {
        Harness h;
        NoDrives drives;
        FakeTextBox text2("Text2", h.log);
        FakeTextBox text4("Text4", h.log);
        Form1 picker(h.files, drives, h.messages, text2, text4);
        checkWindow(&picker, design::form1Design(), "Label1");  // the current folder
    }
};

TESSARK_GUI_TEST(WindowDesignTest);

}  // namespace tessark::test

#include "window_design_test.moc"
