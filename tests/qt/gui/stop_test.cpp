// SPDX-License-Identifier: MIT
// A running split or merge stopped from the window: Esc, the close box and
// Exit are heard while every other input is dropped.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <chrono>
#include <thread>

#include "gui_test.h"
#include "qtshared/qt_text.h"

namespace tessark::test {

class StopTest : public QObject {
    Q_OBJECT

  private slots:
    void stopFromTheWindow_data() {
        QTest::addColumn<bool>("split");
        QTest::addColumn<int>("how");  // 0 Esc, 1 close, 2 Exit
        QTest::newRow("split, Esc") << true << 0;
        QTest::newRow("split, close box") << true << 1;
        QTest::newRow("merge, Esc") << false << 0;
        QTest::newRow("merge, Exit") << false << 2;
    }

    // The job waits a little on each chunk, so the window gets to repaint
    // (and hear the request) before it ends; the request is posted as the
    // first chunk begins.
    void stopFromTheWindow() {
        QFETCH(bool, split);
        QFETCH(int, how);
        Harness h;
        h.files.addFile(u"C:\\in.bin", std::string(40 * 1024, 's'));
        h.files.addFolder(u"C:\\out");
        h.files.addFile(u"C:\\out\\j.bin", "old");
        QVERIFY(h.showActive());
        auto* list = h.child<QListWidget>("List1");
        list->addItems({QStringLiteral("C:\\in.bin"), QStringLiteral("C:\\in.bin")});
        auto* text4 = h.child<QLineEdit>("Text4");
        text4->setText(QStringLiteral("C:\\out\\j.bin"));
        h.child<QLineEdit>("Text1")->setText(QStringLiteral("C:\\in.bin"));
        h.child<QLineEdit>("Text2")->setText(QStringLiteral("C:\\out\\m"));
        h.child<QRadioButton>("Option2")->setChecked(true);
        h.child<QLineEdit>("Text3")->setText(QStringLiteral("1"));

        QWidget* exitButton = h.child("Command13");
        bool posted = false;
        h.files.chunk = 256;
        h.files.beforeTransfer = [&] {
            if (!std::exchange(posted, true)) {
                QWidget* form = h.form.get();
                const QPointF centre = QPointF(exitButton->rect().center());
                switch (how) {
                    case 0:
                        QCoreApplication::postEvent(
                            form, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
                        break;
                    case 1:
                        QCoreApplication::postEvent(form, new QCloseEvent);
                        break;
                    default:
                        for (const auto type :
                             {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                            QCoreApplication::postEvent(
                                exitButton,
                                new QMouseEvent(type, centre, exitButton->mapToGlobal(centre),
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                        }
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        };
        QTest::mouseClick(h.child(split ? "Command3" : "Command6"), Qt::LeftButton);

        QVERIFY(posted);
        const QString question =
            split ? QStringLiteral("确定要停止分割吗？") : QStringLiteral("确定要停止合并吗？");
        bool asked = false;
        for (const ShownBox& box : h.messages.shown) {
            asked = asked || (qs(box.prompt) == question && box.style == 292);
        }
        QVERIFY(asked);
        QCOMPARE(qs(h.messages.shown.back().prompt),
                 split ? QStringLiteral("分割已停止。") : QStringLiteral("合并已停止。"));
        QCOMPARE(h.messages.shown.back().style, 64);
        // Nothing partial, the old output as it was, the list and the name
        // as before, the display as after a finished job.
        QCOMPARE(h.files.allFiles(), (std::vector<Text>{u"C:\\in.bin", u"C:\\out\\j.bin"}));
        QCOMPARE(*h.files.contents(u"C:\\out\\j.bin"), std::string("old"));
        QCOMPARE(list->count(), 2);
        QCOMPARE(text4->text(), QStringLiteral("C:\\out\\j.bin"));
        QVERIFY(h.child("ProgressBar1")->isHidden());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(h.endings, how == 0 ? 0 : 1);
        QVERIFY(h.form->isVisible());
    }
};

TESSARK_GUI_TEST(StopTest);

}  // namespace tessark::test

#include "stop_test.moc"
