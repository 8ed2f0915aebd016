// SPDX-License-Identifier: MIT
// The split inputs through the widgets: the source browse, the block-size
// options and the Enter keys that start a split or a merge.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include "gui_test.h"
#include "qtshared/qt_text.h"

namespace tessark::test {

class SplitSettingsTest : public QObject {
    Q_OBJECT

  private slots:
    void optionsShowAndHideTheCustomSize() {
        Harness h;
        QVERIFY(h.showActive());
        auto* text3 = h.child<QLineEdit>("Text3");
        auto* kb = h.child<QLabel>("Label1");
        QTest::mouseClick(h.child("Option2"), Qt::LeftButton);
        QVERIFY(text3->isVisible());
        QVERIFY(text3->isEnabled());
        QVERIFY(kb->isVisible());
        QCOMPARE(QApplication::focusWidget(), text3);
        QTest::keyClicks(text3, QStringLiteral("720"));

        QTest::mouseClick(h.child("Option1"), Qt::LeftButton);
        QVERIFY(!text3->isVisible());
        QVERIFY(!text3->isEnabled());
        QVERIFY(!kb->isVisible());
        QCOMPARE(text3->text(), QStringLiteral("720"));

        QTest::mouseClick(h.child("Option2"), Qt::LeftButton);
        QVERIFY(text3->isVisible());
        QCOMPARE(text3->text(), QStringLiteral("720"));
    }

    void enterStartsTheActionOfItsBox_data() {
        QTest::addColumn<QString>("firstMessage");
        const QString split = QStringLiteral("没有指定源文件!");
        const QString merge = QStringLiteral("没有指定合并后的文件名!");
        QTest::newRow("Text1") << split;
        QTest::newRow("Text2") << split;
        QTest::newRow("Text3") << split;
        QTest::newRow("Option1") << split;
        QTest::newRow("Text4") << merge;
        QTest::newRow("List1") << merge;
        QTest::newRow("Option2") << QString();
        QTest::newRow("Command3") << split;
        QTest::newRow("Command6") << merge;
    }

    void enterStartsTheActionOfItsBox() {
        QFETCH(QString, firstMessage);
        Harness h;
        QVERIFY(h.showActive());
        if (QTest::currentDataTag() == QByteArray("Option2") ||
            QTest::currentDataTag() == QByteArray("Text3")) {
            QTest::mouseClick(h.child("Option2"), Qt::LeftButton);
        }
        QWidget* control = h.child(QTest::currentDataTag());
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        if (firstMessage.isEmpty()) {
            QVERIFY(h.messages.shown.empty());
        } else {
            QCOMPARE(h.messages.shown.size(), std::size_t{1});
            QCOMPARE(qs(h.messages.shown.front().prompt), firstMessage);
        }
    }

    void keysStillReachTheBoxes() {
        Harness h;
        QVERIFY(h.showActive());
        for (const char* name : {"Text1", "Text2", "Text4"}) {
            auto* box = h.child<QLineEdit>(name);
            QSignalSpy enter(box, &QLineEdit::returnPressed);
            QTest::keyClicks(box, QStringLiteral("ab"));
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(enter.count(), 1);
            QCOMPARE(box->text(), QStringLiteral("ab"));
        }
        // Other keys start nothing.
        const std::size_t boxes = h.messages.shown.size();
        QTest::keyClicks(h.child("Text1"), QStringLiteral("x\t"));
        QCOMPARE(h.messages.shown.size(), boxes);
    }

    void browseFillsSourceTargetAndSize_data() {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1,023 bytes") << 1023 << "文件大小：0 KB";
        QTest::newRow("1,024 bytes") << 1024 << "文件大小：1 KB";
    }

    void browseFillsSourceTargetAndSize() {
        QFETCH(int, bytes);
        QFETCH(QString, caption);
        Harness h;
        h.files.addFolder(u"C:\\data");
        h.files.addFile(u"C:\\data\\movie.avi", std::string(static_cast<std::size_t>(bytes), 'x'));
        h.files.addFile(u"C:\\data\\other.zip", std::string(2000000, 'y'));
        h.dialog.picks = {u"C:\\data\\other.zip", u"C:\\data\\movie.avi"};
        QVERIFY(h.showActive());
        auto* label2 = h.child<QLabel>("Label2");

        QTest::mouseClick(h.child("Command1"), Qt::LeftButton);
        QCOMPARE(h.child<QLineEdit>("Text2")->text(), QStringLiteral("C:\\data\\other$.zip"));
        const int widthBefore = label2->width();
        h.child<QLineEdit>("Text2")->setText(QStringLiteral("D:\\typed by hand"));

        QTest::mouseClick(h.child("Command1"), Qt::LeftButton);
        QCOMPARE(h.child<QLineEdit>("Text1")->text(), QStringLiteral("C:\\data\\movie.avi"));
        QCOMPARE(h.child<QLineEdit>("Text2")->text(), QStringLiteral("C:\\data\\movie$.avi"));
        QCOMPARE(label2->text(), caption);
        QVERIFY(label2->width() < widthBefore);  // the label fits its text
        QCOMPARE(label2->width(), label2->sizeHint().width());
        QCOMPARE(h.dialog.openings.size(), std::size_t{2});
        QCOMPARE(h.dialog.openings.back().flags, 4100);
    }

    void cancelledBrowseChangesNothing() {
        Harness h;
        h.child<QLineEdit>("Text2")->setText(QStringLiteral("kept"));
        QTest::mouseClick(h.child("Command1"), Qt::LeftButton);
        QCOMPARE(h.dialog.openings.size(), std::size_t{1});
        QCOMPARE(h.child<QLineEdit>("Text1")->text(), QString());
        QCOMPARE(h.child<QLineEdit>("Text2")->text(), QStringLiteral("kept"));
    }
};

TESSARK_GUI_TEST(SplitSettingsTest);

}  // namespace tessark::test

#include "split_settings_test.moc"
