#pragma once

// Session files for the tests and the fuzz checks: the file form of a store with every
// key, the value of each key, and the keys two stores differ in for the pedal. (Files on
// disk: TestFiles.h.)

#include "format/SessionKeys.h"
#include "format/SessionWriter.h"

#include <QStringList>

#include <vector>

inline QString fileForm(const DataHandler &store)
{
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    return writer.write(store, SessionWriter::Form::File);
}

// The value of every key as the session file writes it: two stores hold the same session
// exactly when their images are equal.
inline QStringList keyImage(const DataHandler &store)
{
    QStringList values;
    for (int k = 0; k < SessionKeys::Count; ++k)
        values.append(SessionWriter::value(store, k, SessionWriter::Form::File));
    return values;
}

// The keys whose data for the pedal differs between two stores: everything but stack
// names, message names and the library.
inline std::vector<int> differingKeys(const DataHandler &a, const DataHandler &b)
{
    std::vector<int> keys;
    for (int k = 0; k < SessionKeys::Count; ++k)
        if (SessionKeys::at(k).gated
            && SessionWriter::value(a, k, SessionWriter::Form::Reply)
                != SessionWriter::value(b, k, SessionWriter::Form::Reply))
            keys.push_back(k);
    return keys;
}

inline QStringList keyNames(const std::vector<int> &keys)
{
    QStringList names;
    for (int k : keys)
        names.append(QLatin1String(SessionKeys::at(k).key));
    return names;
}
