#pragma once
// A process-wide named lock in place of a named mutex: an flock on a file
// in the user's runtime folder. The kernel drops it when the process ends,
// however it ends, so a killed instance never blocks the next one.

#include <QString>

namespace vellum {

class TInstanceLock {
public:
    enum class TResult { Acquired, HeldElsewhere, Failed };

    explicit TInstanceLock(const QString& name);
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    TResult Acquire();
    bool Held() const { return FHandle >= 0; }
    const QString& FileName() const { return FFileName; }

    // The folder holding the lock files: $XDG_RUNTIME_DIR, else the temporary folder.
    static QString LockFolder();

private:
    QString FFileName;
    int FHandle = -1;
};

} // namespace vellum
