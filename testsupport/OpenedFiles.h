#pragma once

// Takes the local files the program hands to the desktop (QDesktopServices::openUrl) while it
// lives, instead of starting a program for them, and keeps their paths in order.

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

class OpenedFiles : public QObject {
    Q_OBJECT
public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList paths;
public slots:
    void Open(const QUrl& url) { paths << url.toLocalFile(); }
};
