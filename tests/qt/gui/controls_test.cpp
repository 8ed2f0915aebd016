// SPDX-License-Identifier: MIT
// The Qt side of the engine's interfaces: list, progress bar, pointer,
// message boxes, file dialog and the stop listener.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "gui/qt_common_dialog.h"
#include "gui/qt_controls.h"
#include "gui/qt_message_box.h"
#include "gui/qt_stop_listener.h"
#include "gui_test.h"
#include "qtshared/qt_text.h"

namespace tessark::test {

namespace {

// Runs `act` on the first modal window of type W, from inside its loop, once
// it is shown and exposed, and again at every tick until it has gone: a
// dialog still setting itself up (a file dialog whose folder is not loaded)
// can let an accept() pass without closing, and waiting for a close that
// never comes would hang the test. A modal window it opens over itself (a
// "file not found" warning) is closed, so the next try can come.
template <typename W>
void whenModalOpens(std::function<void(W*)> act) {
    struct Seen {
        QPointer<W> window;
        bool once = false;
    };
    auto seen = std::make_shared<Seen>();
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, seen] {
        if (seen->once && (seen->window.isNull() || !seen->window->isVisible())) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        auto* window = qobject_cast<W*>(modal);
        if (window == nullptr || (seen->once && window != seen->window)) {
            if (seen->once && modal != nullptr) {
                modal->close();
            }
            return;
        }
        if (!window->isVisible() || window->windowHandle() == nullptr ||
            !window->windowHandle()->isExposed()) {
            return;  // not ready yet
        }
        seen->window = window;
        seen->once = true;
        act(window);
    });
    timer->start();
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

  private slots:
    void listSelectionFromTheProgramIsOneClick() {
        QListWidget widget;
        int clicks = 0;
        QtListBox list(&widget, [&] { ++clicks; });
        list.addItem(u"a");
        list.addItem(u"b");
        list.addItem(u"c");
        QCOMPARE(clicks, 0);
        list.setSelectedIndex(1);
        QCOMPARE(clicks, 1);
        QCOMPARE(list.selectedIndex(), 1);
        list.setItem(1, u"B");
        QCOMPARE(list.item(1), Text(u"B"));
        list.removeItem(0);  // the selection follows its entry
        QCOMPARE(list.selectedIndex(), 0);
        list.removeItem(0);  // removing the selected entry leaves none selected
        QCOMPARE(list.selectedIndex(), -1);
        QCOMPARE(list.count(), 1);
        list.clear();
        QCOMPARE(list.count(), 0);
        QCOMPARE(clicks, 1);
    }

    void progressBarShowsTheFractionOfLargeCounts() {
        QProgressBar widget;
        QtProgressBar bar(&widget);
        bar.setMaximum(6'000'000'000.0);
        bar.setValue(1'500'000'000.0);
        QCOMPARE(widget.value(), QtProgressBar::kScale / 4);
        bar.setMaximum(0);  // a single piece: nothing to divide
        QCOMPARE(widget.value(), 0);
        bar.setVisible(true);
        QVERIFY(!widget.isHidden());
        bar.setVisible(false);
        QVERIFY(widget.isHidden());
    }

    void hourglassOverridesTheCursorUntilReset() {
        {
            QtMousePointer pointer;
            pointer.setPointer(pointer::Hourglass);
            pointer.setPointer(pointer::Hourglass);
            QVERIFY(QApplication::overrideCursor() != nullptr);
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            pointer.setPointer(pointer::Default);
            QVERIFY(QApplication::overrideCursor() == nullptr);
            pointer.setPointer(pointer::Hourglass);
        }
        QVERIFY(QApplication::overrideCursor() == nullptr);  // an action left by an error
    }

    void messageBoxStyles_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::addColumn<bool>("yesNo");
        QTest::addColumn<int>("defaultButton");
        QTest::newRow("16") << 16 << int(QMessageBox::Critical) << false << int(QMessageBox::Ok);
        QTest::newRow("48") << 48 << int(QMessageBox::Warning) << false << int(QMessageBox::Ok);
        QTest::newRow("64") << 64 << int(QMessageBox::Information) << false << int(QMessageBox::Ok);
        QTest::newRow("4") << 4 << int(QMessageBox::NoIcon) << true << int(QMessageBox::Yes);
        QTest::newRow("36") << 36 << int(QMessageBox::Question) << true << int(QMessageBox::Yes);
        QTest::newRow("292") << 292 << int(QMessageBox::Question) << true << int(QMessageBox::No);
    }

    void messageBoxStyles() {
        QFETCH(int, style);
        QFETCH(int, icon);
        QFETCH(bool, yesNo);
        QFETCH(int, defaultButton);
        const BoxLook look = boxLook(style);
        QCOMPARE(int(look.icon), icon);
        QCOMPARE(look.buttons, yesNo ? QMessageBox::Yes | QMessageBox::No
                                     : QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(int(look.defaultButton), defaultButton);
    }

    void realMessageBoxAsksAndAnswers() {
        QtMessageBox messages(nullptr);
        QString title, text;
        QMessageBox::Icon icon{};
        bool noIsDefault = false;
        whenModalOpens<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
            box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(messages.show(u"文件  x  已存在，\r是否要覆盖？", 292), mb::Yes);
        QCOMPARE(title, QStringLiteral("文件分割机"));
        QCOMPARE(text, QStringLiteral("文件  x  已存在，\n是否要覆盖？"));
        QCOMPARE(icon, QMessageBox::Question);
        QVERIFY(noIsDefault);

        whenModalOpens<QMessageBox>([&](QMessageBox* box) {
            noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(messages.show(u"确定？", 36), mb::No);
        QVERIFY(!noIsDefault);
    }

    void filterTextBecomesNameFilters() {
        const QStringList filters = nameFilters(
            u"执行文件[*.exe]|*.exe|压缩文件[*.zip;*.arj;*.rar]|*.zip;*.rar;*.arj|"
            u"图片文件[*.bmp,*.jpg,*.gif]|*.bmp;*.jpg;*.gif|所有文件[*.*]|*.*");
        QCOMPARE(filters,
                 QStringList(
                     {"执行文件[*.exe] (*.exe)", "压缩文件[*.zip;*.arj;*.rar] (*.zip *.rar *.arj)",
                      "图片文件[*.bmp,*.jpg,*.gif] (*.bmp *.jpg *.gif)", "所有文件[*.*] (*)"}));
    }

    void missingStartFolderFallsBackToDocuments() {
        QCOMPARE(startFolder(u"c:\\my documents"),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QTemporaryDir dir;
        QCOMPARE(startFolder(tx(dir.path())), dir.path());
    }

    void realFileDialogOpensWithItsPropertiesAndReturnsTheFullPath() {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("movie.avi.001")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QtCommonDialog dialog(nullptr);
        dialog.initDir = tx(dir.path());
        dialog.filter = u"分割文件[*.001]|*.001|所有文件[*.*]|*.*";
        dialog.flags = cdl::HideReadOnly | cdl::FileMustExist;
        QString title, folder, filterShown;
        QFileDialog::FileMode mode{};
        whenModalOpens<QFileDialog>([&](QFileDialog* box) {
            title = box->windowTitle();
            mode = box->fileMode();
            folder = box->directory().absolutePath();
            filterShown = box->selectedNameFilter();
            box->selectFile(file.fileName());
            // selectFile leaves the name box alone once it has the focus,
            // which it gets at some moment after the dialog shows: typed
            // there, the name is taken whenever that is.
            if (auto* name = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                name->setText(QFileInfo(file.fileName()).fileName());
            }
            static_cast<QDialog*>(box)->accept();
        });
        dialog.showOpen();
        QCOMPARE(QDir::fromNativeSeparators(qs(dialog.fileName)), file.fileName());
        QCOMPARE(title, QStringLiteral("请打开一个要分割的文件"));
        QCOMPARE(mode, QFileDialog::ExistingFile);
        QCOMPARE(folder, QDir(dir.path()).absolutePath());
        QCOMPARE(filterShown, QStringLiteral("分割文件[*.001]"));  // without the pattern again

        whenModalOpens<QFileDialog>([](QFileDialog* box) { box->reject(); });
        dialog.showOpen();
        QVERIFY(dialog.fileName.empty());
    }

    void stopListenerPaintsAndRunsTimersButDropsInput() {
        QPushButton button(QStringLiteral("开始分割"));
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QSignalSpy clicks(&button, &QPushButton::clicked);
        bool timerRan = false;
        QTimer::singleShot(0, [&] { timerRan = true; });
        const QPointF centre = QPointF(button.rect().center());
        const auto post = [&](QEvent::Type type) {
            QCoreApplication::postEvent(
                &button, new QMouseEvent(type, centre, button.mapToGlobal(centre), Qt::LeftButton,
                                         Qt::LeftButton, Qt::NoModifier));
        };
        post(QEvent::MouseButtonPress);
        post(QEvent::MouseButtonRelease);
        button.setText(QStringLiteral("changed"));
        QtStopListener hook;
        hook.listen();
        QVERIFY(timerRan);
        QCOMPARE(clicks.count(), 0);
        // Nothing was kept for later, and input flows again afterwards.
        QCoreApplication::processEvents();
        QCOMPARE(clicks.count(), 0);
        post(QEvent::MouseButtonPress);
        post(QEvent::MouseButtonRelease);
        QCoreApplication::processEvents();
        QCOMPARE(clicks.count(), 1);
    }
};

TESSARK_GUI_TEST(ControlsTest);

}  // namespace tessark::test

#include "controls_test.moc"
