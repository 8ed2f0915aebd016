// SPDX-License-Identifier: MIT
// Runs the window test classes headless; with an argument, only the class of
// that name.
#include <QApplication>
#include <QTest>

#include "gui_test.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef TESSARK_WEBENGINE
    // The browser's sandbox refuses to start for the superuser, as in CI.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#endif
    QApplication app(argc, argv);
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    int failures = 0;
    int run = 0;
    for (const auto& [name, make] : tessark::test::testRegistry()) {
        if (!only.isEmpty() && only != QLatin1String(name.c_str())) {
            continue;
        }
        ++run;
        const std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), 1, argv);
    }
    if (run == 0) {
        qWarning("no test class named %s", qPrintable(only));
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
