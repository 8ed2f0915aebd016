// SPDX-License-Identifier: MIT
// Writes the program's icon as a PNG: make_icon SIZE FILE.
#include <QImage>
#include <QString>
#include <cstdio>

#include "gui/icons.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: tessark_icon SIZE FILE\n", stderr);
        return 2;
    }
    const int size = QString::fromLocal8Bit(argv[1]).toInt();
    if (size <= 0 || !tessark::icons::programImage(size).save(QString::fromLocal8Bit(argv[2]))) {
        std::fputs("tessark_icon: cannot write the icon\n", stderr);
        return 1;
    }
    return 0;
}
