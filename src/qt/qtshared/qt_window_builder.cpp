// SPDX-License-Identifier: MIT
#include "qtshared/qt_window_builder.h"

#include <QAbstractButton>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>
#include <string>

#include "qtshared/qt_text.h"

namespace tessark {

namespace {

using design::Control;
using design::Kind;

QFont fontOf(const design::Font& font) {
    return songFont(design::toPixels(font.size), font.bold, font.underline);
}

QSize pixels(design::PixelSize size) {
    return {size.width, size.height};
}

void setTextColour(QWidget* widget, design::Rgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(colour.red, colour.green, colour.blue));
    widget->setPalette(palette);
}

Qt::WindowFlags windowFlags(const design::WindowDesign& design) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    flags |= design.border == design::Border::FixedDialog ? Qt::Dialog : Qt::Window;
    if (design.minButton) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (design.maxButton) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}

// The widget of the class that matches the control's kind, or null for the
// kinds that have none.
QWidget* makeWidget(const Control& c, QWidget* in, const QtWidgetMakers& makers) {
    const QString caption = qs(c.caption);
    switch (c.kind) {
        case Kind::Frame:
            return new QGroupBox(caption, in);
        case Kind::Label: {
            auto* label = new QLabel(caption, in);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case Kind::TextBox:
            return new QLineEdit(caption, in);
        case Kind::Button:
        case Kind::PictureButton: {
            auto* button = new QPushButton(caption, in);
            button->setDefault(c.isDefault);
            return button;
        }
        case Kind::CaptionButton: {
            auto* button = new QToolButton(in);
            button->setText(caption);
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            button->setFocusPolicy(Qt::StrongFocus);
            return button;
        }
        case Kind::OptionButton: {
            auto* option = new QRadioButton(caption, in);
            option->setChecked(c.checked);
            return option;
        }
        case Kind::ListBox: {
            auto* list = new QListWidget(in);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setSortingEnabled(false);
            return list;
        }
        case Kind::ProgressBar: {
            auto* bar = new QProgressBar(in);
            bar->setMinimum(0);
            bar->setTextVisible(false);
            return bar;
        }
        case Kind::Line: {
            auto* line = new QFrame(in);
            line->setFrameShape(c.at.height == 0 ? QFrame::HLine : QFrame::VLine);
            line->setFrameShadow(QFrame::Plain);
            return line;
        }
        case Kind::PictureBox: {
            auto* picture = new QLabel(in);
            picture->setPixmap(makers.picture(c.picture).pixmap(pixels(pictureSize(c.picture))));
            return picture;
        }
        case Kind::StatusBar:
        case Kind::WebBrowser:
        case Kind::DriveList:
        case Kind::DirectoryList:
            return makers.special ? makers.special(c, in) : nullptr;
        case Kind::Timer:
        case Kind::CommonDialog:
            break;
    }
    return nullptr;
}

void place(QWidget* widget, const Control& c) {
    if (c.kind == Kind::Line) {
        // A line is one pixel thick, from its start to its end.
        widget->setGeometry(twips(c.at.left), twips(c.at.top),
                            std::max(1, twips(c.at.left + c.at.width) - twips(c.at.left)),
                            std::max(1, twips(c.at.top + c.at.height) - twips(c.at.top)));
    } else if (c.autoSize && !c.caption.empty()) {
        widget->move(twips(c.at.left), twips(c.at.top));
        widget->adjustSize();
    } else {
        widget->setGeometry(twipRect(c.at.left, c.at.top, c.at.width, c.at.height));
    }
}

}  // namespace

QWidget* QtBuiltControls::find(std::string_view name) const {
    const auto found = widgets_.find(name);
    return found == widgets_.end() ? nullptr : found->second;
}

void QtBuiltControls::fail(std::string_view name) {
    qFatal("the window has no control %s of the expected class", std::string(name).c_str());
}

QtBuiltControls buildWindow(QWidget* window, const design::WindowDesign& design,
                            const QtWidgetMakers& makers) {
    window->setObjectName(QLatin1String(design.name.data(), design.name.size()));
    window->setWindowTitle(qs(design.caption));
    window->setWindowFlags(windowFlags(design));
    window->setWindowIcon(design.icon == design::Picture::None ? QIcon()
                                                               : makers.picture(design.icon));
    window->setFixedSize(twips(design.clientWidth), twips(design.clientHeight));
    window->setFont(fontOf(design.font));
    if (design.foreColor) {
        setTextColour(window, *design.foreColor);
    }

    QtBuiltControls built;
    for (const Control& c : design.controls) {
        QWidget* in = c.container.empty() ? window : built.get(c.container);
        QWidget* widget = makeWidget(c, in, makers);
        if (widget == nullptr) {
            continue;
        }
        widget->setObjectName(QLatin1String(c.name.data(), c.name.size()));
        // Every control has its own font: a frame's caption font stays its own.
        widget->setFont(fontOf(c.font));
        if (c.picture != design::Picture::None && c.kind != Kind::PictureBox) {
            auto* button = qobject_cast<QAbstractButton*>(widget);
            if (button != nullptr) {
                button->setIcon(makers.picture(c.picture));
                button->setIconSize(pixels(pictureSize(c.picture)));
            }
        }
        place(widget, c);
        widget->setToolTip(qs(Text(c.toolTip)));
        if (c.foreColor) {
            setTextColour(widget, *c.foreColor);
        }
        if (c.pointer == design::Pointer::Hand) {
            widget->setCursor(Qt::PointingHandCursor);
        }
        widget->setEnabled(c.enabled);
        if (!c.visible) {
            widget->hide();
        }
        built.widgets_.emplace(c.name, widget);
    }

    const auto order = design.tabOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget::setTabOrder(built.get(order[i]->name), built.get(order[i + 1]->name));
    }
    const auto first = std::find_if(order.begin(), order.end(),
                                    [](const Control* c) { return c->visible && c->enabled; });
    if (first != order.end()) {
        built.get((*first)->name)->setFocus();
    }
    return built;
}

}  // namespace tessark
