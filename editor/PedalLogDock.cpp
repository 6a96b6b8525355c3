#include "PedalLogDock.h"

#include "PageControls.h"

#include "SessionActions.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

PedalLogDock::PedalLogDock(Dialogs &dialogs, QWidget *parent) : QDockWidget(tr("Pedal Log"), parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("pedalLogDock"));
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    m_view = new QPlainTextEdit(body);
    m_view->setObjectName(QStringLiteral("pedalLogView"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setMaximumBlockCount(PedalLog::Limit);
    m_view->setFont(QFont(QStringLiteral("monospace")));
    auto *buttons = new QHBoxLayout;
    auto *clearButton = PageControls::button(QStringLiteral("clearPedalLogButton"), tr("Clear"), body);
    auto *saveButton = PageControls::button(QStringLiteral("savePedalLogButton"), tr("Save…"), body);
    connect(clearButton, &QPushButton::clicked, this, &PedalLogDock::clear);
    connect(saveButton, &QPushButton::clicked, this, &PedalLogDock::save);
    buttons->addStretch();
    buttons->addWidget(clearButton);
    buttons->addWidget(saveButton);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    setWidget(body);
}

void PedalLogDock::add(const PedalLogEntry &entry)
{
    m_log.append(entry);
    m_view->appendPlainText(entry.format());
}

void PedalLogDock::clear()
{
    m_log.clear();
    m_view->clear();
}

void PedalLogDock::save()
{
    SessionActions::saveThroughPanel(m_dialogs, m_log.text());
}
