// SPDX-License-Identifier: MIT
// The web panel. Built with Qt WebEngine it embeds a real browser; without
// it the panel stays empty. Either way it remembers where it was sent.
#pragma once

#include <QStringList>
#include <QWidget>

#ifdef TESSARK_WEBENGINE
class QWebEngineView;
#endif

namespace tessark {

class WebBrowser : public QWidget {
    Q_OBJECT

  public:
    explicit WebBrowser(QWidget* parent);

    // Starts loading `url` and returns at once; a later call replaces it.
    void navigate(const QString& url);
    const QStringList& navigations() const { return navigations_; }

#ifdef TESSARK_WEBENGINE
    QWebEngineView* view() const {
        return view_;
    }

  private:
    QWebEngineView* view_;
#endif

  private:
    QStringList navigations_;
};

}  // namespace tessark
