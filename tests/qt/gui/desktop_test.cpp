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

// What the files handed over did to the window: the boxes and the list that
// are not empty, and every message shown.
QString windowState(const Harness& h) {
    QStringList parts;
    for (const char* name : {"Text1", "Label2", "Text4"}) {
        const QObject* box = h.child(name);
        const QString text = box->property("text").toString();
        if (!text.isEmpty()) {
            parts << QStringLiteral("%1=%2").arg(QLatin1String(name), text);
        }
    }
    const auto* list = h.child<QListWidget>("List1");
    for (int i = 0; i < list->count(); ++i) {
        parts << QStringLiteral("List1=") + list->item(i)->text();
    }
    for (const ShownBox& box : h.messages.shown) {
        parts << QStringLiteral("box %1 %2").arg(box.style).arg(qs(box.prompt));
    }
    return parts.join(QStringLiteral(" | "));
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
        QTest::addColumn<QString>("state");
        const QString avi = "Text1=C:\\d\\m.avi | Label2=文件大小：2 KB";
        const QString set =
            "Text4=C:\\d\\m.avi | List1=C:\\d\\m$.avi.001 | "
            "List1=C:\\d\\m$.avi.002 | List1=C:\\d\\m$.avi.003";
        const auto row = [](const char* name, QStringList arguments, const QString& state) {
            QTest::newRow(name) << arguments << state;
        };
        row("none", {}, "");
        row("a source", {"C:\\d\\m.avi"}, avi);
        row("a first piece", {"C:\\d\\m$.avi.001"}, set);
        row(".000 is no piece", {"C:\\d\\a.000"}, "Text1=C:\\d\\a.000 | Label2=文件大小：0 KB");
        row("a missing file", {"C:\\d\\gone.avi"}, "box 48 源文件  C:\\d\\gone.avi  不存在!");
        row("a folder", {"C:\\d"}, "box 48 源文件  C:\\d  不存在!");
        row("two files", {"C:\\d\\m$.avi.001", "C:\\d\\m.avi"}, avi + " | " + set);
        row("a whole set", {"C:\\d\\m$.avi.001", "C:\\d\\m$.avi.002", "C:\\d\\m$.avi.003"}, set);
    }

    void openWith() {
        QFETCH(QStringList, arguments);
        Harness h;
        h.files.addFolder(u"C:\\d");
        h.files.addFile(u"C:\\d\\m.avi", std::string(2500, 'm'));
        h.files.addFile(u"C:\\d\\a.000", "");
        for (const char16_t* piece : {u"001", u"002", u"003"}) {
            h.files.addFile(Text(u"C:\\d\\m$.avi.") + piece, "p");
        }
        if (arguments.isEmpty()) {
            // Nothing may be read from disk: any look at it would fail.
            h.files.injectFault(FakeFileSystem::Op::Exists, {}, 53);
            h.files.injectFault(FakeFileSystem::Op::Find, {}, 53);
        }
        h.form->openFiles(arguments);
        QTEST(windowState(h), "state");
        QVERIFY(h.dialog.openings.empty());
    }

    void drops_data() {
        QTest::addColumn<QString>("over");
        QTest::addColumn<QStringList>("files");  // names in the folder ~, or whole addresses
        QTest::addColumn<int>("actions");        // what the file manager offers
        QTest::addColumn<int>("taken");          // what the window chose
        QTest::addColumn<QString>("state");
        const auto row = [](const char* name, const char* over, QStringList files, int actions,
                            int taken, const QString& state = {}) {
            QTest::newRow(name) << over << files << actions << taken << state;
        };
        const int offered = Qt::CopyAction | Qt::MoveAction;
        const int copy = Qt::CopyAction;
        const int no = Qt::IgnoreAction;
        const QString b = "Text1=~/b.txt | Label2=文件大小：0 KB";
        row("source on Text1", "Text1", {"b.txt"}, offered, copy, b);
        row("link only", "Frame6", {"b.txt"}, Qt::LinkAction, Qt::LinkAction, b);
        row("move only", "Frame6", {"b.txt"}, Qt::MoveAction, no);
        row("two sources", "Text2", {"b.txt", "a.txt"}, offered, no);
        row("folder as source", "Text1", {"sub"}, offered, no);
        row("pieces by number", "List1", {"x.10", "b.txt", "x.9"}, offered, copy,
            "List1=~/x.9 | List1=~/x.10 | List1=~/b.txt");
        row("whole set on Text4", "Text4", {"m.003", "m.001", "m.002"}, offered, copy,
            "Text4=~/m | List1=~/m.001 | List1=~/m.002 | List1=~/m.003");
        row("piece and folder", "Frame3", {"m.002", "sub"}, offered, no);
        row("web address", "List1", {"http://example.org/m.001"}, offered, no);
        row("outside the areas", "Command12", {"m.001"}, offered, no);
    }

    void drops() {
        QFETCH(QString, over);
        QFETCH(QStringList, files);
        QFETCH(int, actions);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        for (const char* name : {"a.txt", "b.txt", "x.9", "x.10", "m.001", "m.002", "m.003"}) {
            QVERIFY(QFile(dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly));
        }
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
        QFETCH(QString, state);
        QTRY_COMPARE(windowState(h).replace(dir.path(), QStringLiteral("~")), state);
    }

    void noDropWhileABoxIsUp() {
        QTemporaryDir dir;
        QVERIFY(QFile(dir.filePath(QStringLiteral("m.002"))).open(QIODevice::WriteOnly));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.filePath(QStringLiteral("m.002")))});
        Harness h(true);
        QVERIFY(h.showActive());
        QDialog box(h.form.get());
        box.setModal(true);
        for (const bool up : {true, false}) {
            box.setVisible(up);
            QCOMPARE(dragAndDrop(h.form.get(), h.child("List1"), &data, Qt::CopyAction),
                     up ? int(Qt::IgnoreAction) : int(Qt::CopyAction));
        }
        QTRY_COMPARE(h.child<QListWidget>("List1")->count(), 1);
    }

    void panelTextsFitTheirPanels_data() {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("text");
        QTest::newRow("as designed") << 1 << "欢迎使用Quorin文件分割机";
        QTest::newRow("longer welcome") << 1 << "欢迎使用Quorin文件分割机，祝您使用愉快";
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
    }
};

TESSARK_GUI_TEST(DesktopTest);

}  // namespace tessark::test

#include "desktop_test.moc"
