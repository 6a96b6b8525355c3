#pragma once

#include <QString>
#include <QStringList>

// A modal alert: message text, informative text and one or two buttons ("Ok" first).
struct Alert
{
    // What the alert is about; the window chooses its icon and default button by it.
    enum class Kind {
        Plain,       // a note, or a question when it has several buttons
        Destructive, // a confirmation of something that cannot be undone: Cancel is the default
        Failure,     // something could not be done
    };

    QString message;
    QString informative;
    QStringList buttons;
    QString title;
    Kind kind = Kind::Plain;

    // The alerts the program raises, built one way wherever they come from.
    // A question with "Ok" and "Cancel"; "Ok" (button 0) goes on.
    static Alert question(const QString &message, const QString &informative, const QString &title = QString())
    {
        return {
            message,
            informative,
            {QStringLiteral(QT_TRANSLATE_NOOP("Alert", "Ok")), QStringLiteral(QT_TRANSLATE_NOOP("Alert", "Cancel"))},
            title};
    }
    // The same for a step that destroys data (a reset, clearing): "Cancel" is the default.
    static Alert destructive(const QString &message, const QString &informative, const QString &title = QString())
    {
        return {
            message,
            informative,
            {QStringLiteral(QT_TRANSLATE_NOOP("Alert", "Ok")), QStringLiteral(QT_TRANSLATE_NOOP("Alert", "Cancel"))},
            title,
            Kind::Destructive};
    }
    // A note with the single button "Ok".
    static Alert note(const QString &message, const QString &informative)
    {
        return {message, informative, {QStringLiteral(QT_TRANSLATE_NOOP("Alert", "Ok"))}, QString()};
    }
    // Something could not be done, and why.
    static Alert failure(const QString &message, const QString &informative)
    {
        return {message, informative, {QStringLiteral(QT_TRANSLATE_NOOP("Alert", "Ok"))}, QString(), Kind::Failure};
    }
    // A pedal command given without a connected pedal.
    static Alert notConnected()
    {
        return failure(QStringLiteral(QT_TRANSLATE_NOOP("Alert", "Please connect to the pedal first")), QString());
    }
};
