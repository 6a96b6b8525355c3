#pragma once

// An environment variable set while it lives; then it holds what it held before, or is
// unset again.

#include <QByteArray>
#include <QtGlobal>

class ScopedEnvironment
{
public:
    ScopedEnvironment(const char *name, const QByteArray &value)
        : m_name(name), m_old(qgetenv(name)), m_wasSet(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment() { m_wasSet ? qputenv(m_name, m_old) : qunsetenv(m_name); }
    Q_DISABLE_COPY_MOVE(ScopedEnvironment)

private:
    const char *m_name;
    QByteArray m_old;
    bool m_wasSet;
};
