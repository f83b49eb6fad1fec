#pragma once
// Holds the single-instance lock named after $(SysMutexID) while the program runs.

#include "platform/InstanceLock.h"

#include <QString>

namespace vellum {

class TExecuteBlocker {
public:
    explicit TExecuteBlocker(const QString& mutexId) : FLock(mutexId) {}
    // False only when another process holds the lock.
    bool Acquire() { return FLock.Acquire() != TInstanceLock::TResult::HeldElsewhere; }
    const TInstanceLock& Lock() const { return FLock; }

private:
    TInstanceLock FLock;
};

} // namespace vellum
