#pragma once
// Application-wide events for any component that wants them: idle,
// activation, minimise/restore, hints, and the focus changes that the one
// screen-event dispatcher broadcasts.

#include "base/Broadcaster.h"
#include "base/Component.h"

#include <QObject>

#include <functional>
#include <memory>

namespace vellum {

// Turns the screen's active-control and active-form changes into
// broadcasts of NID_ActiveControlChanged and NID_ActiveFormChanged.
class TScreenEventDispatcher : public TPersistent {
public:
    VELLUM_CLASS(TScreenEventDispatcher)

public:
    // Created on first use.
    static TScreenEventDispatcher& Instance();
    // Frees the dispatcher (at shut-down).
    static void Shutdown();

    TBroadcaster& Broadcaster() { return FBroadcaster; }
    void ActiveControlChanged() { FBroadcaster.Notify(this, NID_ActiveControlChanged); }
    void ActiveFormChanged() { FBroadcaster.Notify(this, NID_ActiveFormChanged); }

    TScreenEventDispatcher();
    ~TScreenEventDispatcher() override;

private:
    TBroadcaster FBroadcaster{this};
    std::unique_ptr<QObject> FContext;
};

class TGlobalNotify : public TComponent {
public:
    using TNotifyEvent = std::function<void(TGlobalNotify* sender)>;

    explicit TGlobalNotify(TComponent* owner = nullptr);
    ~TGlobalNotify() override;

    VELLUM_CLASS(TGlobalNotify)

public:

    TNotifyEvent OnIdle, OnActivate, OnDeactivate, OnMinimize, OnRestore, OnHint, OnActiveControlChange,
        OnActiveFormChange;

    // Fires OnHint; the main window calls this when the status hint changes.
    void Hint() { Fire(OnHint); }

private:
    void Fire(const TNotifyEvent& e) {
        if (e) e(this);
    }
    TListener FListener;
    std::unique_ptr<QObject> FContext;
};

} // namespace vellum
