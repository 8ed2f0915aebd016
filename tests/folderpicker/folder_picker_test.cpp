// SPDX-License-Identifier: MIT
// The folder picker over a real folder tree, offscreen. Every opening is
// driven from inside its modal loop, and a picker left open is hidden so no
// test can block.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "disk_folders.h"
#include "engine/core/runtime_error.h"
#include "engine/platform/native_file_system.h"
#include "fake_window.h"
#include "folderpicker/directory_list.h"
#include "folderpicker/folder_paths.h"
#include "folderpicker/form1.h"
#include "forms/disk_error_report.h"
#include "forms/split_form.h"

namespace tessark::test {

namespace {

Text toText(const QString& s) {
    return s.toStdU16String();
}
QString toQ(const Text& t) {
    return QString::fromStdU16String(t);
}

}  // namespace

class FolderPickerTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> temp_;
    QString previousFolder_;
    Text tree_;  // the program's current folder: tree/{Alpha, b/inner, c}
    std::unique_ptr<DiskFolders> fs_;
    std::unique_ptr<FixedDrives> drives_;
    std::unique_ptr<FakeWindow> window_;
    QPointer<Form1> picker_;
    int openings_ = 0;

    // Opens the picker as the main window's browse buttons do and runs
    // `whileOpen` once it is up; returns when the picker is hidden or closed.
    void open(const std::function<void(Form1&)>& whileOpen) {
        ++openings_;
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* form = qobject_cast<Form1*>(QApplication::activeModalWidget());
            if (form) {
                ran = true;
                whileOpen(*form);
            }
            if (picker_ && picker_->isVisible()) {
                picker_->hide();  // ends the modal loop of a test that failed
                QFAIL("the picker was left open");
            }
        });
        showFolderPicker(picker_, *fs_, *drives_, window_->messages, window_->Text2,
                         window_->Text4);
        QVERIFY2(ran, "the picker did not open modally");
    }

    static DirectoryList& dir1(Form1& form) { return *form.findChild<DirectoryList*>("Dir1"); }
    static QComboBox& drive1(Form1& form) { return *form.findChild<QComboBox*>("Drive1"); }
    static QString label1(Form1& form) { return form.findChild<QLabel*>("Label1")->text(); }
    static QPushButton& button(Form1& form, const char* name) {
        return *form.findChild<QPushButton*>(name);
    }
    static QTreeWidgetItem* entry(Form1& form, const QString& caption) {
        const auto found = dir1(form).findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.last();
    }
    static QPoint centreOf(Form1& form, QTreeWidgetItem* item) {
        return dir1(form).visualItemRect(item).center();
    }
    static void click(Form1& form, QTreeWidgetItem* item) {
        QTest::mouseClick(dir1(form).viewport(), Qt::LeftButton, {}, centreOf(form, item));
    }
    // As the window system delivers it: press, release, double-click, release.
    static void doubleClick(Form1& form, QTreeWidgetItem* item) {
        QWidget* viewport = dir1(form).viewport();
        const QPoint at = centreOf(form, item);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }
    // Opens an entry of the list by double-click, or by highlighting it and
    // pressing Enter.
    static void openEntry(Form1& form, const QString& caption, const QString& how) {
        QTreeWidgetItem* item = entry(form, caption);
        QVERIFY2(item, qPrintable(caption));
        if (how == "double-click") {
            doubleClick(form, item);
        } else {
            click(form, item);
            QTest::keyClick(&dir1(form), Qt::Key_Return);
        }
    }
    static int driveIndex(Form1& form, const Text& drive) {
        return drive1(form).findData(toQ(drive));
    }
    Text sub(const char* name) const { return tree_ + u'/' + fromUtf8(name); }
    void prefill() {
        window_->Text2.value = u"/data/movie$.avi";
        window_->Text4.value = u"/data/movie(1).avi";
        window_->log.clear();
    }
    void expectUnchanged() {
        QCOMPARE(toQ(window_->Text2.value), QString("/data/movie$.avi"));
        QCOMPARE(toQ(window_->Text4.value), QString("/data/movie(1).avi"));
        QVERIFY(window_->log.empty());
    }
    void expectWritten(const Text& folderText) {
        QCOMPARE(toQ(window_->Text2.value), toQ(folderText));
        QCOMPARE(toQ(window_->Text4.value), toQ(folderText));
        EventLog writes;
        std::copy_if(window_->log.begin(), window_->log.end(), std::back_inserter(writes),
                     [](const std::string& event) { return event.starts_with("Text"); });
        QCOMPARE(writes, (EventLog{"Text4.setText", "Text2.setText"}));
    }

  private slots:
    void init() {
        temp_ = std::make_unique<QTemporaryDir>();
        QVERIFY(temp_->isValid());
        QDir base(temp_->path());
        QVERIFY(base.mkpath("tree/Alpha") && base.mkpath("tree/b/inner") && base.mkpath("tree/c"));
        QVERIFY(base.mkpath("other/x"));
        tree_ = toText(QDir(base.filePath("tree")).canonicalPath());
        previousFolder_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(toQ(tree_)));
        fs_ = std::make_unique<DiskFolders>();
        const Text other = toText(QDir(base.filePath("other")).canonicalPath());
        drives_ = std::make_unique<FixedDrives>(std::vector<Text>{u"/", other, u"/nodisk"});
        window_ = std::make_unique<FakeWindow>();
        prefill();
    }

    void cleanup() {
        delete picker_.data();
        QDir::setCurrent(previousFolder_);
        temp_.reset();
    }

    void looksAsDesigned() {
        open([&](Form1& form) {
            QCOMPARE(form.windowTitle(), QString("请选择一个目录"));
            QCOMPARE(form.size(), QSize(346, 251));
            QCOMPARE(form.minimumSize(), form.maximumSize());
            QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
            QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
            QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
            const struct {
                const char* name;
                QRect geometry;
            } controls[] = {{"Label1", {16, 32, 313, 13}},
                            {"Dir1", {16, 48, 313, 160}},
                            {"Drive1", {16, 216, 129, 20}},
                            {"Command1", {168, 216, 73, 25}},
                            {"Command2", {256, 216, 73, 25}}};
            for (const auto& control : controls) {
                auto* widget = form.findChild<QWidget*>(control.name);
                QVERIFY2(widget, control.name);
                QCOMPARE(widget->geometry(), control.geometry);
            }
            auto* label2 = form.findChild<QLabel*>("Label2");
            QCOMPARE(label2->text(), QString("指定文件夹："));
            QCOMPARE(label2->pos(), QPoint(16, 16));
            QCOMPARE(button(form, "Command1").text(), QString("确定"));
            QCOMPARE(button(form, "Command2").text(), QString("取消"));
            QVERIFY(button(form, "Command1").isDefault());

            // The tab order starts at the directory list, which has the focus.
            QTRY_COMPARE(QApplication::focusWidget(), &dir1(form));
            for (const char* name : {"Drive1", "Command1", "Command2", "Dir1"}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget()->objectName(), QString(name));
            }

            // The list shows the ancestors, the open folder, then its subfolders.
            QStringList captions;
            for (QTreeWidgetItemIterator it(&dir1(form)); *it; ++it) {
                captions << (*it)->text(0);
            }
            QCOMPARE(captions.first(), QString("/"));
            QCOMPARE(captions.mid(captions.size() - 4), QStringList({"tree", "Alpha", "b", "c"}));
            QCOMPARE(label1(form), toQ(tree_));
            QCOMPARE(drive1(form).currentText(), QString("/"));
            button(form, "Command2").click();
        });
    }

    void okWritesTheFolderAndASeparatorIntoBothBoxes_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK button") << "click";
        QTest::newRow("Enter") << "enter";
    }
    void okWritesTheFolderAndASeparatorIntoBothBoxes() {
        QFETCH(QString, how);
        open([&](Form1& form) {
            if (how == "click") {
                QTest::mouseClick(&button(form, "Command1"), Qt::LeftButton);
            } else {
                QTest::keyClick(&dir1(form), Qt::Key_Return);
            }
        });
        expectWritten(tree_ + u'/');
        QVERIFY(picker_);  // hidden, not destroyed
        QVERIFY(!picker_->isVisible());
    }

    void cancelEscAndTheCloseBoxChangeNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel button") << "click";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("close box") << "close";
    }
    void cancelEscAndTheCloseBoxChangeNothing() {
        QFETCH(QString, how);
        open([&](Form1& form) {
            click(form, entry(form, "c"));
            if (how == "click") {
                QTest::mouseClick(&button(form, "Command2"), Qt::LeftButton);
            } else if (how == "esc") {
                QTest::keyClick(&dir1(form), Qt::Key_Escape);
            } else {
                form.close();
            }
        });
        expectUnchanged();
        QCOMPARE(picker_.isNull(), how == "close");
    }

    void openingAFolderMovesTheChosenFolder_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("double-click") << "double-click";
        QTest::newRow("Enter") << "enter";
    }
    void openingAFolderMovesTheChosenFolder() {
        QFETCH(QString, how);
        open([&](Form1& form) {
            // A single click only highlights.
            click(form, entry(form, "c"));
            QCOMPARE(toQ(dir1(form).highlightedPath()), toQ(sub("c")));
            QCOMPARE(label1(form), toQ(tree_));

            openEntry(form, "b", how);
            QCOMPARE(label1(form), toQ(sub("b")));
            QCOMPARE(toQ(dir1(form).path()), toQ(sub("b")));
            QVERIFY(entry(form, "inner"));
            QVERIFY(!entry(form, "Alpha"));

            // Highlighting an ancestor does not open it; OK takes the open folder.
            click(form, entry(form, "tree"));
            QCOMPARE(label1(form), toQ(sub("b")));
            button(form, "Command1").click();
        });
        expectWritten(sub("b") + u'/');
    }

    void atTheRootOkWritesTwoSeparators_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("double-click") << "double-click";
        QTest::newRow("Enter") << "enter";
    }
    void atTheRootOkWritesTwoSeparators() {
        QFETCH(QString, how);
        open([&](Form1& form) {
            openEntry(form, "/", how);
            QCOMPARE(label1(form), QString("/"));
            QVERIFY(entry(form, "tmp"));
            button(form, "Command1").click();
        });
        expectWritten(u"//");
    }

    // The folder text names no file yet, so a split is refused until the user
    // types a name after it.
    void aSplitRightAfterOkAtTheRootIsRefused() {
        QFile source(toQ(sub("movie.avi")));
        QVERIFY(source.open(QIODevice::WriteOnly) && source.write("0123456789") == 10);
        source.close();
        window_->Text1.value = sub("movie.avi");
        open([&](Form1& form) {
            doubleClick(form, entry(form, "/"));
            QTest::keyClick(&dir1(form), Qt::Key_Return);
        });
        QCOMPARE(toQ(window_->Text2.value), QString("//"));

        window_->messages.answers = {mb::No, mb::No};  // never let a split start
        auto controls = window_->controls();
        startSplit(controls, *makeNativeFileSystem());
        QCOMPARE(window_->messages.shown.size(), std::size_t{1});
        QCOMPARE(toQ(window_->messages.shown[0].prompt),
                 QString("目标文件框中只指定了文件夹，请指定文件名"));
        QCOMPARE(window_->messages.shown[0].style, mb::Exclamation);
        QVERIFY(!QFile::exists("/.001"));
    }

    void choosingADriveOpensItsTopFolder() {
        open([&](Form1& form) {
            const Text other = drives_->drives()[1];
            drive1(form).setCurrentIndex(driveIndex(form, other));
            QCOMPARE(label1(form), toQ(other));
            QVERIFY(entry(form, "x"));
            drive1(form).setCurrentIndex(driveIndex(form, u"/"));
            QCOMPARE(label1(form), QString("/"));
            button(form, "Command1").click();
        });
        expectWritten(u"//");
        QVERIFY(window_->messages.shown.empty());
    }

    void aDriveThatFailsIsReportedAndChangesNothing_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("reported");
        QTest::newRow("71 not ready") << 71 << true;
        QTest::newRow("68 unavailable") << 68 << true;
        QTest::newRow("57 I/O error") << 57 << true;
        QTest::newRow("70 protected") << 70 << true;
        QTest::newRow("52 bad name") << 52 << true;
        QTest::newRow("61 disk full") << 61 << true;
        QTest::newRow("53 not found") << 53 << false;
        QTest::newRow("76 path not found") << 76 << false;
    }
    void aDriveThatFailsIsReportedAndChangesNothing() {
        QFETCH(int, number);
        QFETCH(bool, reported);
        fs_->injectFault(FakeFileSystem::Op::ListFolders, u"/nodisk", number);
        open([&](Form1& form) {
            doubleClick(form, entry(form, "b"));
            drive1(form).setCurrentIndex(driveIndex(form, u"/nodisk"));
            QCOMPARE(drive1(form).currentText(), QString("/nodisk"));
            QCOMPARE(label1(form), toQ(sub("b")));
            QCOMPARE(toQ(dir1(form).path()), toQ(sub("b")));
            QVERIFY(entry(form, "inner"));
            button(form, "Command1").click();
        });
        const auto& shown = window_->messages.shown;
        QCOMPARE(shown.size(), std::size_t{reported ? 1u : 0u});
        if (reported) {
            QCOMPARE(toQ(shown[0].prompt), toQ(*diskErrorMessage(number, ErrorTable::Full)));
            QCOMPARE(shown[0].style, 16);
            QCOMPARE(toQ(shown[0].title), QString("文件分割机"));
        }
        expectWritten(sub("b") + u'/');
    }
    void aFolderThatCannotBeOpenedIsReportedAndStaysShut() {
        fs_->injectFault(FakeFileSystem::Op::ListFolders, sub("c"), err::PermissionDenied);
        open([&](Form1& form) {
            doubleClick(form, entry(form, "c"));
            QCOMPARE(label1(form), toQ(tree_));
            QCOMPARE(toQ(dir1(form).path()), toQ(tree_));
            button(form, "Command1").click();
        });
        QCOMPARE(window_->messages.shown.size(), std::size_t{1});
        QCOMPARE(toQ(window_->messages.shown[0].prompt), QString("磁盘被写保护 或 文件被保护!"));
        expectWritten(tree_ + u'/');
    }

    void okAndCancelKeepThePlaceTheCloseBoxStartsAfresh() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        // Centred on the outer size known when the window is made; the frame's
        // own size is known only once it is shown.
        const auto centred = [&](Form1& form) {
            const QPoint offset = form.frameGeometry().center() - screen.center();
            return qAbs(offset.x()) <= 4 && qAbs(offset.y()) <= 4;
        };
        Form1* first = nullptr;
        open([&](Form1& form) {
            first = &form;
            QVERIFY(centred(form));
            form.move(40, 50);
            doubleClick(form, entry(form, "b"));
            button(form, "Command2").click();
        });
        open([&](Form1& form) {
            QCOMPARE(&form, first);
            QCOMPARE(form.pos(), QPoint(40, 50));
            QCOMPARE(label1(form), toQ(sub("b")));
            QCOMPARE(toQ(dir1(form).path()), toQ(sub("b")));
            doubleClick(form, entry(form, "inner"));
            button(form, "Command1").click();
        });
        expectWritten(sub("b") + u"/inner/");
        open([&](Form1& form) {
            QCOMPARE(form.pos(), QPoint(40, 50));
            QCOMPARE(label1(form), toQ(sub("b") + u"/inner"));
            form.close();
        });
        QVERIFY(picker_.isNull());
        open([&](Form1& form) {
            QVERIFY(centred(form));
            QCOMPARE(label1(form), toQ(tree_));
            QTRY_COMPARE(QApplication::focusWidget(), &dir1(form));
            button(form, "Command2").click();
        });
    }

    void aFolderMadeWhileHiddenShowsUpNextTime() {
        open([&](Form1& form) { button(form, "Command2").click(); });
        QVERIFY(QDir(toQ(tree_)).mkdir("made later"));
        open([&](Form1& form) {
            QVERIFY(entry(form, "made later"));
            button(form, "Command2").click();
        });
    }

    void folderChainsWalkFromTheRoot_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("chain");
        QTest::addColumn<QString>("caption");
        QTest::newRow("root") << "/"
                              << "/" << QStringList{"/"} << "/";
        QTest::newRow("posix") << "/home/ann"
                               << "/" << QStringList{"/", "/home", "/home/ann"} << "ann";
        QTest::newRow("doubled") << "/a//b/"
                                 << "/" << QStringList{"/", "/a", "/a/b"} << "b";
        QTest::newRow("letter") << "C:\\"
                                << "\\" << QStringList{"C:\\"} << "C:\\";
        QTest::newRow("windows") << "D:\\x\\y"
                                 << "\\" << QStringList{"D:\\", "D:\\x", "D:\\x\\y"} << "y";
        QTest::newRow("bare") << "name"
                              << "/" << QStringList{"name"} << "name";
    }
    void folderChainsWalkFromTheRoot() {
        QFETCH(QString, folder);
        QFETCH(QString, separator);
        QFETCH(QStringList, chain);
        QFETCH(QString, caption);
        const char16_t sep = separator.at(0).unicode();
        QStringList got;
        for (const Text& f : folderChain(toText(folder), sep)) {
            got << toQ(f);
        }
        QCOMPARE(got, chain);
        QCOMPARE(toQ(folderCaption(toText(folder), sep)), caption);
    }
};

}  // namespace tessark::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tessark::test::FolderPickerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "folder_picker_test.moc"
