// SPDX-License-Identifier: MIT
// What a Linux desktop hands the main window: files named on the command line,
// files dropped from a file manager, and status panels whose texts fit.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "gui/status_panels.h"
#include "gui_test.h"
#include "qtshared/qt_text.h"

namespace tessark::test {

namespace {

QStringList entries(const QListWidget* list) {
    QStringList result;
    for (int i = 0; i < list->count(); ++i) {
        result << list->item(i)->text();
    }
    return result;
}

QStringList prompts(const FakeMessageBox& messages) {
    QStringList result;
    for (const ShownBox& box : messages.shown) {
        result << QStringLiteral("%1 %2").arg(box.style).arg(qs(box.prompt));
    }
    return result;
}

// Sends a drag of `data` to the window at the middle of `over`, the way the
// platform does, and drops it there when the window takes it. Returns the
// action the window chose, or none when it refused the drag.
int dragAndDrop(QWidget* form, QWidget* over, QMimeData* data, Qt::DropActions actions) {
    const QPoint at = over->mapTo(form, over->rect().center());
    QWindow* window = form->windowHandle();
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    if (!enter.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(window, &leave);
        return Qt::IgnoreAction;
    }
    QDropEvent drop(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

  private slots:
    void openWith_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QString>("mergeName");
        QTest::addColumn<QStringList>("messages");
        const QString avi = QStringLiteral("C:\\d\\movie.avi");
        const QStringList set = {"C:\\d\\movie$.avi.001", "C:\\d\\movie$.avi.002",
                                 "C:\\d\\movie$.avi.003"};
        QTest::newRow("none") << QStringList() << ""
                              << "" << QStringList() << "" << QStringList();
        QTest::newRow("a source") << QStringList{avi} << avi << "文件大小：2 KB" << QStringList()
                                  << "" << QStringList();
        QTest::newRow(".001") << QStringList{set[0]} << ""
                              << "" << set << avi << QStringList();
        QTest::newRow(".002 alone") << QStringList{set[1]} << ""
                                    << "" << QStringList{set[1]} << "" << QStringList();
        QTest::newRow(".000 is no piece")
            << QStringList{"C:\\d\\a.000"} << "C:\\d\\a.000"
            << "文件大小：0 KB" << QStringList() << "" << QStringList();
        QTest::newRow("a missing file")
            << QStringList{"C:\\d\\gone.avi"} << ""
            << "" << QStringList() << "" << QStringList{"48 源文件  C:\\d\\gone.avi  不存在!"};
        QTest::newRow("a folder") << QStringList{"C:\\d"} << ""
                                  << "" << QStringList() << ""
                                  << QStringList{"48 源文件  C:\\d  不存在!"};
        QTest::newRow("two files")
            << QStringList{set[0], avi} << avi << "文件大小：2 KB" << set << avi << QStringList();
        QTest::newRow("a whole set") << QStringList{set[0], set[1], set[2]} << ""
                                     << "" << set << avi << QStringList();
    }

    void openWith() {
        QFETCH(QStringList, arguments);
        Harness h;
        h.files.addFolder(u"C:\\d");
        h.files.addFile(u"C:\\d\\movie.avi", std::string(2500, 'm'));
        h.files.addFile(u"C:\\d\\a.000", "");
        for (const char16_t* piece : {u"001", u"002", u"003"}) {
            h.files.addFile(Text(u"C:\\d\\movie$.avi.") + piece, "p");
        }
        if (arguments.isEmpty()) {
            // Nothing may be read from disk: any look at it would fail.
            h.files.injectFault(FakeFileSystem::Op::Exists, {}, 53);
            h.files.injectFault(FakeFileSystem::Op::Find, {}, 53);
        }
        h.form->openFiles(arguments);
        QTEST(h.child<QLineEdit>("Text1")->text(), "source");
        QTEST(h.child<QLabel>("Label2")->text(), "size");
        QTEST(entries(h.child<QListWidget>("List1")), "pieces");
        QTEST(h.child<QLineEdit>("Text4")->text(), "mergeName");
        QTEST(prompts(h.messages), "messages");
        QVERIFY(h.dialog.openings.empty());
    }

    void drops_data() {
        QTest::addColumn<QString>("over");
        QTest::addColumn<QStringList>("files");  // names in the folder, or whole addresses
        QTest::addColumn<int>("actions");        // what the file manager offers
        QTest::addColumn<int>("taken");          // what the window chose
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("pieces");
        const int copy = Qt::CopyAction | Qt::MoveAction;
        const int no = Qt::IgnoreAction;
        const QStringList none;
        QTest::newRow("source on Text1")
            << "Text1" << QStringList{"b.txt"} << copy << int(Qt::CopyAction) << "b.txt" << none;
        QTest::newRow("source on the block size")
            << "Frame6" << QStringList{"b.txt"} << copy << int(Qt::CopyAction) << "b.txt" << none;
        QTest::newRow("link only") << "Frame6" << QStringList{"b.txt"} << int(Qt::LinkAction)
                                   << int(Qt::LinkAction) << "b.txt" << none;
        QTest::newRow("move only")
            << "Frame6" << QStringList{"b.txt"} << int(Qt::MoveAction) << no << "" << none;
        QTest::newRow("two sources")
            << "Text2" << QStringList{"b.txt", "a.txt"} << copy << no << "" << none;
        QTest::newRow("folder as source")
            << "Text1" << QStringList{"sub"} << copy << no << "" << none;
        QTest::newRow("pieces by number")
            << "List1" << QStringList{"x.10", "b.txt", "x.9"} << copy << int(Qt::CopyAction) << ""
            << QStringList{"x.9", "x.10", "b.txt"};
        QTest::newRow("whole set on Text4")
            << "Text4" << QStringList{"m.003", "m.001", "m.002"} << copy << int(Qt::CopyAction)
            << "" << QStringList{"m.001", "m.002", "m.003"};
        QTest::newRow("piece and folder")
            << "Frame3" << QStringList{"m.002", "sub"} << copy << no << "" << none;
        QTest::newRow("web address")
            << "List1" << QStringList{"http://example.org/m.001"} << copy << no << "" << none;
        QTest::newRow("outside the areas")
            << "Command12" << QStringList{"m.001"} << copy << no << "" << none;
    }

    void drops() {
        QFETCH(QString, over);
        QFETCH(QStringList, files);
        QFETCH(int, actions);
        QFETCH(QStringList, pieces);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        for (const char* name : {"a.txt", "b.txt", "x.9", "x.10", "m.001", "m.002", "m.003"}) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const auto inDir = [&dir](const QString& name) {
            return name.isEmpty() ? name : QDir::toNativeSeparators(dir.filePath(name));
        };
        QList<QUrl> urls;
        for (const QString& file : files) {
            urls << (file.contains(QLatin1Char(':')) ? QUrl(file)
                                                     : QUrl::fromLocalFile(dir.filePath(file)));
        }
        QMimeData data;
        data.setUrls(urls);
        Harness h(true);
        QVERIFY(h.showActive());

        QTEST(dragAndDrop(h.form.get(), h.child(qPrintable(over)), &data,
                          Qt::DropActions::fromInt(actions)),
              "taken");
        QFETCH(QString, source);
        QTRY_COMPARE(h.child<QLineEdit>("Text1")->text(), inDir(source));
        QStringList paths;
        for (const QString& piece : pieces) {
            paths << inDir(piece);
        }
        QTRY_COMPARE(entries(h.child<QListWidget>("List1")), paths);
        QCOMPARE(prompts(h.messages), QStringList());
    }

    void noDropWhileABoxIsUp() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("m.002"));
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        Harness h(true);
        QVERIFY(h.showActive());
        QDialog box(h.form.get());
        box.setModal(true);
        box.show();
        QCOMPARE(dragAndDrop(h.form.get(), h.child("List1"), &data, Qt::CopyAction),
                 int(Qt::IgnoreAction));
        box.hide();
        QCOMPARE(dragAndDrop(h.form.get(), h.child("List1"), &data, Qt::CopyAction),
                 int(Qt::CopyAction));
        QTRY_COMPARE(h.child<QListWidget>("List1")->count(), 1);
    }

    void panelTextsFitTheirPanels_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("text");
        QTest::newRow("as designed") << 1 << "欢迎使用Quorin文件分割机";
        QTest::newRow("longer welcome") << 1 << "欢迎使用Quorin文件分割机，祝您使用愉快";
        QTest::newRow("short contact") << 3 << "QQ：1";
    }

    void panelTextsFitTheirPanels() {
        QFETCH(int, panel);
        QFETCH(QString, text);
        Harness h;
        h.clock = QDateTime(QDate(2026, 12, 28), QTime(23, 58, 58));
        auto* bar = h.child<StatusPanels>("StatusBar1");
        bar->setPanelText(panel, tx(text));
        QTRY_VERIFY(!bar->panelText(5).isEmpty());
        const QFont font = bar->panel(1)->font();
        const auto allFit = [bar](const QFont& candidate) {
            for (int i = 1; i <= bar->panelCount(); ++i) {
                const QLabel* label = bar->panel(i);
                if (QFontMetrics(candidate).horizontalAdvance(label->text()) >
                    label->contentsRect().width()) {
                    return false;
                }
            }
            return true;
        };
        QVERIFY(allFit(font));
        // Side by side from the bar's left edge at their own widths: none
        // covers the end of another.
        int left = 0;
        for (int i = 1; i <= bar->panelCount(); ++i) {
            QCOMPARE(bar->panel(i)->x(), left);
            left += bar->panel(i)->width();
        }
        QVERIFY(left <= bar->width());
        // As large as the designed size allows: half a point more would clip.
        QFont larger = font;
        larger.setPointSizeF(QFontInfo(font).pointSizeF() + 0.5);
        QVERIFY(font == bar->font() || !allFit(larger));
        for (int i = 1; i <= bar->panelCount(); ++i) {
            QCOMPARE(bar->panel(i)->font(), font);
        }
        QCOMPARE(font.family(), bar->font().family());
    }
};

TESSARK_GUI_TEST(DesktopTest);

}  // namespace tessark::test

#include "desktop_test.moc"
