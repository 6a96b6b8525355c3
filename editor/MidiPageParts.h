#pragma once

// What the two files of the Midi Management page share.

#include <QLineEdit>
#include <QObject>
#include <QString>

namespace MidiPageParts {

constexpr int StackNameWidth = 30;
constexpr int LibraryTextWidth = 20;

// "]" ends a key in the session text and "`" fills its name fields: a name holding
// either would not come back as it was written.
inline bool fitsSessionText(const QString &text)
{
    return !text.contains(QLatin1Char(']')) && !text.contains(QLatin1Char('`'));
}

inline QString badCharacterText()
{
    return QObject::tr("Names cannot hold \"]\" or \"`\"; the text was not taken.");
}

inline QLineEdit *lineEdit(const QString &objectName, QWidget *parent, int width = 0)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    if (width > 0)
        e->setMaximumWidth(width);
    return e;
}

} // namespace MidiPageParts
