// SPDX-License-Identifier: MIT
#include "gui/web_browser.h"

#include <QUrl>
#include <QVBoxLayout>

#ifdef TESSARK_WEBENGINE
#include <QWebEngineView>
#endif

namespace tessark {

WebBrowser::WebBrowser(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
#ifdef TESSARK_WEBENGINE
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new QWebEngineView(this);
    layout->addWidget(view_);
    setFocusProxy(view_);
#endif
}

void WebBrowser::navigate(const QString& url) {
    navigations_ << url;
#ifdef TESSARK_WEBENGINE
    view_->setUrl(QUrl(url));
#endif
}

}  // namespace tessark
