// SPDX-License-Identifier: MIT
// A split and a merge of real files, driven through the widgets only, one
// that rebuilds a damaged piece from the split's recovery data, and the merge
// list's buttons and keys.
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>

#include "gui_test.h"
#include "qtshared/qt_text.h"

namespace tessark::test {

namespace {

QByteArray randomBytes(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(20261207);
    for (char& byte : bytes) {
        byte = static_cast<char>(generator.bounded(256));
    }
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QListWidget* list) {
    QStringList result;
    for (int i = 0; i < list->count(); ++i) {
        result << list->item(i)->text();
    }
    return result;
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void splitWithEnterThenMergeGivesTheFileBack() {
        QTemporaryDir dir;
        const QString source = QDir::toNativeSeparators(dir.filePath(QStringLiteral("movie.avi")));
        const QByteArray original = randomBytes(3 * 1447035 + 777);
        {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(original);
        }
        Harness h(true);
        h.dialog.picks = {tx(source)};
        QVERIFY(h.showActive());
        QTest::mouseClick(h.child("Command1"), Qt::LeftButton);
        auto* text1 = h.child<QLineEdit>("Text1");
        QCOMPARE(text1->text(), source);

        text1->setFocus();
        QTest::keyClick(text1, Qt::Key_Return);
        QCOMPARE(h.messages.shown.size(), std::size_t{2});  // the question, then the report
        QCOMPARE(h.messages.shown.front().style, 4);
        QVERIFY(
            qs(h.messages.shown.back().prompt).startsWith(source + QStringLiteral(" 分割完成!")));
        const QString target = dir.filePath(QStringLiteral("movie$.avi"));
        QCOMPARE(entries(h.child<QListWidget>("List1")),
                 QStringList({target + ".001", target + ".002", target + ".003", target + ".004"}));
        QCOMPARE(readAll(target + ".001").size(), 1447035);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Link.bat"))));
        const QString merged = dir.filePath(QStringLiteral("movie(1).avi"));
        QCOMPARE(h.child<QLineEdit>("Text4")->text(), merged);
        QVERIFY(h.child("ProgressBar1")->isHidden());

        QTest::mouseClick(h.child("Command6"), Qt::LeftButton);
        QCOMPARE(qs(h.messages.shown.back().prompt), merged + QStringLiteral("合并完成!"));
        QVERIFY(readAll(merged) == original);
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        // The checksum file vouches for the pieces and the joined file alike.
        QProcess check;
        check.setWorkingDirectory(dir.path());
        check.start(QStringLiteral("sha256sum"), {QStringLiteral("--quiet"), QStringLiteral("-c"),
                                                  QStringLiteral("movie$.avi.sha256")});
        QVERIFY(check.waitForFinished());
        QCOMPARE(check.exitCode(), 0);
    }

    // The split's recovery files are what other PAR 2.0 clients read, and a
    // merge rebuilds a piece with a flipped byte from them into the output,
    // leaving the piece on the disk as it was.
    void mergeRebuildsADamagedPieceFromTheSplitsRecoveryData() {
        QTemporaryDir dir;
        const QString source = QDir::toNativeSeparators(dir.filePath(QStringLiteral("movie.avi")));
        const QByteArray original = randomBytes(3 * 1447035 + 777);
        {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(original);
        }
        Harness h(true);
        h.dialog.picks = {tx(source)};
        QVERIFY(h.showActive());
        QTest::mouseClick(h.child("Command1"), Qt::LeftButton);
        QTest::mouseClick(h.child("Command3"), Qt::LeftButton);
        QVERIFY(
            qs(h.messages.shown.back().prompt).startsWith(source + QStringLiteral(" 分割完成!")));
        const QString target = dir.filePath(QStringLiteral("movie$.avi"));
        QVERIFY(QFile::exists(target + ".par2"));
        QVERIFY(QFile::exists(target + ".vol0+1.par2"));
        const QString par2 = QStandardPaths::findExecutable(QStringLiteral("par2"));
        if (!par2.isEmpty()) {
            QProcess verify;
            verify.setWorkingDirectory(dir.path());
            verify.start(par2, {QStringLiteral("verify"), QStringLiteral("movie$.avi.par2")});
            QVERIFY(verify.waitForFinished(120000));
            QCOMPARE(verify.exitCode(), 0);
        }

        QByteArray damaged = readAll(target + ".002");
        damaged[12345] = static_cast<char>(damaged[12345] ^ 0x20);
        {
            QFile piece(target + ".002");
            QVERIFY(piece.open(QIODevice::WriteOnly));
            QCOMPARE(piece.write(damaged), damaged.size());
        }
        QTest::mouseClick(h.child("Command6"), Qt::LeftButton);
        const auto asked =
            std::find_if(h.messages.shown.begin(), h.messages.shown.end(), [](const ShownBox& b) {
                return qs(b.prompt) == QStringLiteral(
                                           "文件 movie$.avi.002 已损坏，可以用恢复数据"
                                           "修复。是否修复后合并？");
            });
        QVERIFY(asked != h.messages.shown.end());
        QCOMPARE(asked->style, 36);
        const QString merged = dir.filePath(QStringLiteral("movie(1).avi"));
        QCOMPARE(qs(h.messages.shown.back().prompt),
                 merged + QStringLiteral("合并完成!\r已用恢复数据重建 movie$.avi.002。"));
        QVERIFY(readAll(merged) == original);
        QVERIFY(readAll(target + ".002") == damaged);
        if (par2.isEmpty()) {
            QSKIP("par2 is not on PATH: the recovery files were not read by another client");
        }
    }

    void failedCheckShowsItsMessageAndMovesTheFocus() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("nothing.bin"));
        Harness h(true);
        QVERIFY(h.showActive());
        auto* text1 = h.child<QLineEdit>("Text1");
        auto* text2 = h.child<QLineEdit>("Text2");
        QTest::keyClicks(text1, missing);
        text2->setFocus();
        QTest::keyClick(text2, Qt::Key_Return);
        QCOMPARE(h.messages.shown.size(), std::size_t{1});
        QCOMPARE(qs(h.messages.shown.front().prompt),
                 QStringLiteral("源文件  ") + missing + QStringLiteral("  不存在!"));
        QCOMPARE(h.messages.shown.front().style, 48);
        QCOMPARE(QApplication::focusWidget(), text1);
        QCOMPARE(text1->selectedText(), missing);
    }

    void listButtonsAndKeysActOnTheList() {
        Harness h;
        h.files.addFolder(u"D:\\x");
        for (const char16_t* name :
             {u"D:\\x\\movie$.avi.001", u"D:\\x\\movie$.avi.002", u"D:\\x\\movie$.avi.003"}) {
            h.files.addFile(name, "piece");
        }
        h.dialog.picks = {u"D:\\x\\movie$.avi.001"};
        QVERIFY(h.showActive());
        auto* list = h.child<QListWidget>("List1");
        QTest::mouseClick(h.child("Command4"), Qt::LeftButton);
        QCOMPARE(entries(list), QStringList({"D:\\x\\movie$.avi.001", "D:\\x\\movie$.avi.002",
                                             "D:\\x\\movie$.avi.003"}));
        QCOMPARE(h.child<QLineEdit>("Text4")->text(), QStringLiteral("D:\\x\\movie.avi"));

        // A click shows the entry's path; so does a selection moved by the keyboard.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(list->toolTip(), QStringLiteral("D:\\x\\movie$.avi.001"));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->toolTip(), QStringLiteral("D:\\x\\movie$.avi.002"));

        QTest::mouseClick(h.child("Command9"), Qt::LeftButton);  // up
        QCOMPARE(list->item(0)->text(), QStringLiteral("D:\\x\\movie$.avi.002"));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(list->toolTip(), QStringLiteral("D:\\x\\movie$.avi.002"));
        QTest::mouseClick(h.child("Command8"), Qt::LeftButton);  // down
        QCOMPARE(list->item(1)->text(), QStringLiteral("D:\\x\\movie$.avi.002"));
        QTest::mouseClick(h.child("Command5"), Qt::LeftButton);  // remove selected
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(list->toolTip(), QStringLiteral("D:\\x\\movie$.avi.001"));

        // Enter in the list starts the merge.
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(h.messages.shown.size(), std::size_t{2});  // the two questions
        QCOMPARE(h.messages.shown.front().style, 36);
        QCOMPARE(h.files.contents(u"D:\\x\\movie.avi"), std::optional<std::string>("piecepiece"));

        QTest::mouseClick(h.child("Command7"), Qt::LeftButton);  // clear
        QCOMPARE(list->count(), 0);
    }
};

TESSARK_GUI_TEST(EndToEndTest);

}  // namespace tessark::test

#include "end_to_end_test.moc"
