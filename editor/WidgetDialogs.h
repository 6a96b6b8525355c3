#pragma once

#include <QCoreApplication>

#include "Dialogs.h"

#include <QPointer>

class QWidget;

// The window's dialogs: alerts as message boxes, a modal open panel and a non-modal save
// panel.
class WidgetDialogs : public Dialogs
{
    Q_DECLARE_TR_FUNCTIONS(WidgetDialogs)

public:
    explicit WidgetDialogs(QWidget *window = nullptr) : m_window(window) {}
    void setWindow(QWidget *window) { m_window = window; }

    int showAlert(const Alert &alert) override;
    QString chooseFileToOpen(const QString &title, const QStringList &suffixes) override;
    void chooseFileToSave(const QStringList &suffixes, std::function<void(const QString &path)> done) override;
    QString chooseFirmwareImage(const QString &folder) override;

private:
    QPointer<QWidget> m_window;
};
