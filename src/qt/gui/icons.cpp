// SPDX-License-Identifier: MIT
#include "gui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace tessark::icons {

namespace {

using Drawing = std::function<void(QPainter&)>;

// Every drawing works on a 16 × 16 grid and is scaled to the image.
QImage draw(const Drawing& drawing, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size.width() / 16.0, size.height() / 16.0);
    drawing(painter);
    return image;
}

QIcon icon(const Drawing& drawing, QSize size = {16, 16}) {
    QIcon result;
    for (const int ratio : {1, 2}) {
        QPixmap pixmap = QPixmap::fromImage(draw(drawing, size * ratio));
        pixmap.setDevicePixelRatio(ratio);
        result.addPixmap(pixmap);
    }
    return result;
}

void page(QPainter& p, QRectF r, QColor fill) {
    const qreal fold = r.width() * 0.3;
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(QColor(70, 70, 80), 0.8));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void cross(QPainter& p, QRectF r, QColor color, qreal width) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

void arrow(QPainter& p, bool up) {
    QPainterPath path;
    path.moveTo(8, 1.5);
    path.lineTo(14.5, 8);
    path.lineTo(10.5, 8);
    path.lineTo(10.5, 14.5);
    path.lineTo(5.5, 14.5);
    path.lineTo(5.5, 8);
    path.lineTo(1.5, 8);
    path.closeSubpath();
    if (!up) {
        p.translate(0, 16);
        p.scale(1, -1);
    }
    p.setPen(QPen(QColor(20, 60, 140), 0.8));
    p.setBrush(QColor(60, 130, 220));
    p.drawPath(path);
}

void folder(QPainter& p) {
    p.setPen(QPen(QColor(120, 85, 10), 0.8));
    p.setBrush(QColor(230, 180, 60));
    QPainterPath back;
    back.moveTo(1, 3);
    back.lineTo(6, 3);
    back.lineTo(7.5, 4.5);
    back.lineTo(14, 4.5);
    back.lineTo(14, 13.5);
    back.lineTo(1, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 215, 100));
    QPainterPath flap;
    flap.moveTo(3, 7);
    flap.lineTo(15.5, 7);
    flap.lineTo(13.5, 13.5);
    flap.lineTo(1, 13.5);
    flap.closeSubpath();
    p.drawPath(flap);
}

// A sheet cut across, its two halves pulled apart.
void splitSheet(QPainter& p) {
    p.save();
    p.translate(-1, -0.5);
    page(p, QRectF(3, 1, 10, 7), QColor(230, 240, 255));
    p.restore();
    p.save();
    p.translate(1, 0.5);
    p.setPen(QPen(QColor(70, 70, 80), 0.8));
    p.setBrush(QColor(230, 240, 255));
    p.drawRect(QRectF(3, 8, 10, 7));
    p.restore();
    p.setPen(QPen(QColor(220, 70, 30), 1.0, Qt::DashLine));
    p.drawLine(QPointF(0.5, 8), QPointF(15.5, 8));
}

}  // namespace

QIcon openFolder() {
    return icon(folder);
}

QIcon blankPage() {
    return icon([](QPainter& p) { page(p, QRectF(3, 1, 10, 14), Qt::white); });
}

QIcon blackCross() {
    return icon([](QPainter& p) { cross(p, QRectF(3, 3, 10, 10), Qt::black, 2.2); });
}

QIcon redCrossList() {
    return icon([](QPainter& p) {
        p.setPen(QPen(QColor(90, 90, 90), 1.2));
        for (const qreal y : {3.0, 6.0, 9.0, 12.0}) {
            p.drawLine(QPointF(1, y), QPointF(15, y));
        }
        cross(p, QRectF(4, 3.5, 8, 8), QColor(210, 20, 20), 2.2);
    });
}

QIcon arrowUp() {
    return icon([](QPainter& p) { arrow(p, true); });
}

QIcon arrowDown() {
    return icon([](QPainter& p) { arrow(p, false); });
}

QIcon splitPicture() {
    return icon(splitSheet, {24, 23});
}

QIcon mergePicture() {
    return icon(
        [](QPainter& p) {
            page(p, QRectF(1, 1, 6, 7), QColor(230, 240, 255));
            page(p, QRectF(9, 1, 6, 7), QColor(230, 240, 255));
            p.setPen(QPen(QColor(40, 140, 60), 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(4, 8.5), QPointF(7.3, 11));
            p.drawLine(QPointF(12, 8.5), QPointF(8.7, 11));
            page(p, QRectF(5, 11, 6, 4.5), QColor(220, 250, 225));
        },
        {24, 23});
}

QImage programImage(int size) {
    return draw(
        [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 90, 170));
            p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
            splitSheet(p);
        },
        {size, size});
}

QIcon program() {
    QIcon result;
    for (const int size : {16, 32, 48, 64, 128}) {
        result.addPixmap(QPixmap::fromImage(programImage(size)));
    }
    return result;
}

QIcon picture(design::Picture picture) {
    using design::Picture;
    switch (picture) {
        case Picture::OpenFolder:
            return openFolder();
        case Picture::BlankPage:
            return blankPage();
        case Picture::BlackCross:
            return blackCross();
        case Picture::RedCrossList:
            return redCrossList();
        case Picture::ArrowUp:
            return arrowUp();
        case Picture::ArrowDown:
            return arrowDown();
        case Picture::SplitPicture:
            return splitPicture();
        case Picture::MergePicture:
            return mergePicture();
        case Picture::ProgramIcon:
            return program();
        case Picture::None:
            break;
    }
    return {};
}

}  // namespace tessark::icons
