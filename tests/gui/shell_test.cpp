// SPDX-License-Identifier: MIT
// The shell around the split and the merge: the status-bar click, the About
// window and every way of closing it, Exit, and the web-site link.
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "gui/frm_about.h"
#include "gui/module1.h"
#include "gui/status_panels.h"
#include "gui_test.h"

namespace tessark::test {

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT

  public slots:
    void open(const QUrl& url) { urls << url; }

  public:
    QList<QUrl> urls;
};

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT

  private slots:
    void panelClickHidesShowsAboutThenOpensWebSite_data() {
        QTest::addColumn<int>("panel");
        for (int panel = 1; panel <= 5; ++panel) {
            QTest::addRow("panel %d", panel) << panel;
        }
    }

    void panelClickHidesShowsAboutThenOpensWebSite() {
        QFETCH(int, panel);
        Harness h;
        QVERIFY(h.showActive());
        bool mainShownAtLink = true;
        bool aboutShownAtLink = false;
        h.onWebSite = [&] {
            mainShownAtLink = h.form->isVisible();
            aboutShownAtLink = Harness::aboutWindow() && Harness::aboutWindow()->isVisible();
        };
        QTest::mouseClick(h.child<StatusPanels>("StatusBar1")->panel(panel), Qt::LeftButton);
        QCOMPARE(h.webSiteOpenings, 1);
        QVERIFY(!mainShownAtLink);
        QVERIFY(aboutShownAtLink);
        QVERIFY(!h.form->isVisible());
        h.form->about()->close();
    }

    void aboutButtonDoesNotOpenWebSite() {
        Harness h;
        QVERIFY(h.showActive());
        QTest::mouseClick(h.child<QPushButton>("Command12"), Qt::LeftButton);
        QVERIFY(!h.form->isVisible());
        QVERIFY(Harness::aboutWindow() && Harness::aboutWindow()->isVisible());
        QCOMPARE(h.webSiteOpenings, 0);
        h.form->about()->close();
    }

    void enterPressesTheFocusedButton() {
        Harness h;
        QVERIFY(h.showActive());
        auto* about = h.child<QPushButton>("Command12");
        about->setFocus();
        QTest::keyClick(about, Qt::Key_Return);
        QVERIFY(!h.form->isVisible());
        QVERIFY(h.form->about() != nullptr);
        h.form->about()->close();
    }

    void everyWayOfClosingAboutBringsMainBack_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("OK button") << 0;
        QTest::newRow("Enter") << 1;
        QTest::newRow("Esc") << 2;
        QTest::newRow("close box") << 3;
    }

    void everyWayOfClosingAboutBringsMainBack() {
        QFETCH(int, way);
        Harness h;
        QVERIFY(h.showActive());
        QTest::mouseClick(h.child<QPushButton>("Command12"), Qt::LeftButton);
        frmAbout* about = h.form->about();
        QVERIFY(about != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        switch (way) {
            case 0:
                QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
                break;
            case 1:
                QTest::keyClick(about, Qt::Key_Return);
                break;
            case 2:
                QTest::keyClick(about, Qt::Key_Escape);
                break;
            default:
                about->close();
                break;
        }
        QTRY_VERIFY(h.form->isVisible());
        QTRY_VERIFY(Harness::aboutWindow() == nullptr);
        QCOMPARE(h.endings, 0);
    }

    void aboutTexts_data() {
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QString>("text");
        const auto at = [](int x, int y) { return QPoint(x / 15, y / 15); };
        QTest::newRow("lblTitle") << at(1080, 240) << "Tessark Quorin文件分割机";
        QTest::newRow("lblDescription") << at(1080, 600) << "出品： Quorin工作室";
        QTest::newRow("Label1") << at(1080, 840) << "网址： www.quorin.example";
        QTest::newRow("lblVersion") << at(1080, 1080) << "版本： V3.5";
        QTest::newRow("Label5") << at(1080, 1320) << "邮箱：";
        QTest::newRow("Label6") << at(1680, 1320) << "tessark@quorin.example";
        QTest::newRow("Label7")
            << at(360, 1800)
            << QString::fromUtf8(
                   "提示:  文件分割后会在文件所在的位置生成\u3000\"Link.bat\"\u3000供合并用");
        QTest::newRow("Label8") << at(960, 2040)
                                << "分割完后可将此文件一同拷贝,然后执行 \"Link\" 就可合并文件";
        QTest::newRow("Label9") << at(960, 2280)
                                << "当然, 你也可以用本软件的 \"合并\" 功能合并文件";
    }

    void aboutTexts() {
        QFETCH(QPoint, position);
        QFETCH(QString, text);
        Harness h;
        h.form->controller().Command12_Click();
        const auto* label = h.form->about()->findChild<QLabel*>(QTest::currentDataTag());
        QVERIFY(label != nullptr);
        QCOMPARE(label->pos(), position);
        QCOMPARE(label->text(), text);
        // Labels size themselves to their text: nothing is cut off.
        QVERIFY(label->width() >= label->sizeHint().width());
        h.form->about()->close();
    }

    void aboutWindowAsDesigned() {
        Harness h;
        QVERIFY(h.showActive());
        h.form->controller().Command12_Click();
        frmAbout* about = h.form->about();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QCOMPARE(about->windowTitle(), QStringLiteral("关于Quorin文件分割机 Tessark"));
        QCOMPARE(about->size(), QSize(430, 213));
        QVERIFY(!about->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!about->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        // Owned by the main window, so it has no taskbar entry of its own.
        QCOMPARE(about->parentWidget(), h.form.get());
        auto* ok = about->findChild<QPushButton*>("cmdOK");
        QCOMPARE(ok->text(), QStringLiteral("确定"));
        QCOMPARE(ok->geometry(), QRect(280, 176, 100, 23));
        QVERIFY(ok->isDefault());
        QTRY_COMPARE(QApplication::focusWidget(), ok);
        const auto* title = about->findChild<QLabel*>("lblTitle");
        QVERIFY(title->font().bold());
        QCOMPARE(title->font().pixelSize(), 17);
        QCOMPARE(about->findChild<QLabel*>("picIcon")->geometry(), QRect(24, 8, 32, 32));
        // The only visible window of the program.
        QStringList visible;
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible()) {
                visible << window->objectName();
            }
        }
        QCOMPARE(visible, QStringList{QStringLiteral("frmAbout")});
        about->close();
    }

    // The version the windows show follows project(VERSION) in CMakeLists.txt,
    // handed to this test by the build rather than through the generated header.
    void versionShownIsTheConfiguredOne_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("expected");
        const QStringList parts = QStringLiteral(TESSARK_CONFIGURED_VERSION).split(u'.');
        QVERIFY(parts.size() >= 2);
        const QString shown = QStringLiteral("V") + parts[0] + u'.' + parts[1];
        QTest::newRow("lblVersion") << "lblVersion" << QStringLiteral("版本： ") + shown;
        QTest::newRow("Form2 caption")
            << "Form2" << QStringLiteral("Quorin文件分割机 Tessark ") + shown + QString(10, u' ');
    }

    void versionShownIsTheConfiguredOne() {
        QFETCH(QString, where);
        QFETCH(QString, expected);
        Harness h;
        if (where == u"Form2") {
            QVERIFY(h.form->windowTitle().startsWith(expected));
            return;
        }
        h.form->controller().Command12_Click();
        const auto* label = h.form->about()->findChild<QLabel*>(where);
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(), expected);
        h.form->about()->close();
    }

    void mailLabelLooksLikeALinkAndDoesNothing() {
        Harness h;
        h.form->controller().Command12_Click();
        frmAbout* about = h.form->about();
        auto* mail = about->findChild<QLabel*>("Label6");
        QCOMPARE(mail->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(mail->font().underline());
        QCOMPARE(mail->font().pixelSize(), 12);
        QCOMPARE(mail->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(mail->toolTip(), QStringLiteral("写信给我"));
        QTest::mouseClick(mail, Qt::LeftButton);
        QCOMPARE(h.form->about(), about);
        QVERIFY(about->isVisible());
        QCOMPARE(h.webSiteOpenings, 0);
        about->close();
    }

    void aboutIsBuiltAfreshEachTime() {
        Harness h;
        h.form->controller().Command12_Click();
        QPointer<frmAbout> first = h.form->about();
        first->findChild<QLabel*>("Label1")->setText(QStringLiteral("changed"));
        first->close();
        QTRY_VERIFY(first.isNull());
        h.form->controller().Command12_Click();
        QCOMPARE(h.form->about()->findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("网址： www.quorin.example"));
        h.form->about()->close();
    }

    void exitAndCloseEndTheProgramAtOnce() {
        Harness h;
        QVERIFY(h.showActive());
        QTest::mouseClick(h.child<QPushButton>("Command13"), Qt::LeftButton);
        QCOMPARE(h.endings, 1);
        h.form->close();
        QCOMPARE(h.endings, 2);
        QVERIFY(h.messages.shown.empty());
    }

    void webSiteOpensTheMakersAddress() {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        Module1::OpenWebSite();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("http://www.quorin.example"))});
    }
};

TESSARK_GUI_TEST(ShellTest);

}  // namespace tessark::test

#include "shell_test.moc"
