#pragma once

#include <QStringList>

// The state of a chained load: the requests of the chain in writing order and the
// position of the request written last. Started by the command set, moved on by the
// reply parser at each end-of-data reply.
struct ChainedLoad
{
    bool inProgress = false;
    QStringList queue;
    int position = 0;

    void start(const QStringList &requests)
    {
        inProgress = true;
        queue = requests;
        position = 0;
    }
    void reset()
    {
        inProgress = false;
        queue.clear();
        position = 0;
    }
    bool atLast() const { return position >= int(queue.size()) - 1; }
};
