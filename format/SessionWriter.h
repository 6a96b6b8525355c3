#pragma once

#include "SessionKeys.h"

#include <bitset>

// Writes the session text. The file form is what session files hold; the pedal form is
// what an upload carries (stack keys with each stack's position in front of its ten
// fields); the reply form is what the pedal sends back as page data (stack keys without
// positions). Gated keys are written only while their selection flag is set.
class SessionWriter
{
public:
    enum class Form { File, Pedal, Reply };

    void setAllKeyFlags(bool on);
    void setKeyFlag(int keyIndex, bool on);
    bool keyFlag(int keyIndex) const { return m_flags.test(size_t(keyIndex)); }
    // Sets the flags of a page send (all others are left as they are).
    void selectPage(SessionKeys::Page page);
    bool anyFlagSet() const { return m_flags.any(); }

    // The session text of the store for the current flags. Changes nothing.
    QString write(const DataHandler &store, Form form) const;

    // The file-form lines of exactly the given keys, in table order (the stack-name and
    // library exports).
    static QString writeKeys(const DataHandler &store, const std::vector<int> &keys);

    // The value text of one key (without key, "]" and line end).
    static QString value(const DataHandler &store, int keyIndex, Form form);
    // The same, appended to `out`.
    static void appendValue(QString &out, const DataHandler &store, int keyIndex, Form form);

private:
    std::bitset<SessionKeys::Count> m_flags;
};
