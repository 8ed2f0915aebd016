// SPDX-License-Identifier: MIT
// The browse buttons beside the split target and the merge name: both open
// the one folder picker modally, and its OK fills both boxes.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "gui_test.h"

namespace tessark::test {

class BrowseFolderTest : public QObject {
    Q_OBJECT

    QTemporaryDir work_;
    QString previousFolder_;

    // Presses `button` of the main window and runs `whileOpen` with the window
    // that is modal at that moment; a picker left open is closed so nothing
    // blocks.
    static void press(Harness& h, const char* button,
                      const std::function<void(QWidget& picker)>& whileOpen) {
        bool returned = false;
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal->objectName() == "Form1") {
                ran = true;
                QVERIFY(!returned);  // the button's handler waits for the picker
                whileOpen(*modal);
            }
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->objectName() == "Form1" && window->isVisible()) {
                    window->hide();
                    QFAIL("the picker was left open");
                }
            }
        });
        QTest::mouseClick(h.child<QPushButton>(button), Qt::LeftButton);
        returned = true;
        QVERIFY2(ran, "the picker did not open modally");
    }

    static void click(QWidget& picker, const char* name) {
        QTest::mouseClick(picker.findChild<QPushButton*>(name), Qt::LeftButton);
    }

  private slots:
    void init() {
        QVERIFY(work_.isValid());
        previousFolder_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work_.path()));
    }
    void cleanup() { QDir::setCurrent(previousFolder_); }

    void eitherButtonFillsBothBoxes_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("split side") << "Command2";
        QTest::newRow("merge side") << "Command10";
    }
    void eitherButtonFillsBothBoxes() {
        QFETCH(QString, button);
        Harness h(true);
        QVERIFY(h.showActive());
        h.child<QLineEdit>("Text2")->setText("/old/movie$.avi");
        h.child<QLineEdit>("Text4")->setText("/old/movie(1).avi");
        press(h, qPrintable(button), [&](QWidget& picker) {
            QCOMPARE(picker.findChild<QLabel*>("Label1")->text(), QDir::currentPath());
            click(picker, "Command1");
        });
        QCOMPARE(h.child<QLineEdit>("Text2")->text(), QDir::currentPath() + "/");
        QCOMPARE(h.child<QLineEdit>("Text4")->text(), QDir::currentPath() + "/");
    }

    void oneWindowServesBothButtonsUntilItIsClosed() {
        Harness h(true);
        QVERIFY(h.showActive());
        QPointer<QWidget> first;
        press(h, "Command2", [&](QWidget& picker) {
            first = &picker;
            click(picker, "Command2");  // Cancel hides it
        });
        press(h, "Command10", [&](QWidget& picker) {
            QCOMPARE(&picker, first.data());
            picker.close();  // the close box destroys it
        });
        QVERIFY(first.isNull());
        QPointer<QWidget> second;
        press(h, "Command10", [&](QWidget& picker) {
            second = &picker;
            click(picker, "Command2");
        });
        QVERIFY(second);
        QCOMPARE(h.child<QLineEdit>("Text2")->text(), QString());
        h.form.reset();  // the picker writes into the main window: it goes with it
        QVERIFY(second.isNull());
    }
};

TESSARK_GUI_TEST(BrowseFolderTest);

}  // namespace tessark::test

#include "browse_folder_test.moc"
