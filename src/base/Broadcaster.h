#pragma once
// Publish/subscribe between objects: a broadcaster calls its listeners in
// attach order with the sender and a 16-byte notification id. Either side
// may go first; each detaches from the other when destroyed, and a
// broadcaster announces its own destruction before it lets go.

#include "base/Guid.h"
#include "base/Persistent.h"

#include <functional>
#include <vector>

namespace vellum {

inline constexpr TGUID IID_Broadcaster = MakeGUID("{D945C5B0-29DA-11D3-ACA5-00500463098A}");
inline constexpr TGUID IID_Listener = MakeGUID("{D945C5B1-29DA-11D3-ACA5-00500463098A}");
inline constexpr TGUID NID_ObjectDestroyed = MakeGUID("{FF0E0940-2D29-11D3-ACCC-00500463098A}");
inline constexpr TGUID NID_ActiveControlChanged = MakeGUID("{1211E69A-468C-11D3-AD18-00500463098A}");
inline constexpr TGUID NID_ActiveFormChanged = MakeGUID("{1211E69B-468C-11D3-AD18-00500463098A}");
// End of an update in which something changed (the change notifier's broadcast).
inline constexpr TGUID NID_ObjectChanged = MakeGUID("{1153AE63-523C-11D3-AD37-00500463098A}");

class TListener;

class TBroadcaster {
public:
    explicit TBroadcaster(TPersistent* owner = nullptr) : FOwner(owner) {}
    virtual ~TBroadcaster();
    TBroadcaster(const TBroadcaster&) = delete;
    TBroadcaster& operator=(const TBroadcaster&) = delete;

    TPersistent* Owner() const { return FOwner; }
    void Attach(TListener* listener);
    void Detach(TListener* listener);
    // Calls every attached listener in attach order; a listener detached by an
    // earlier callback is skipped.
    void Notify(TPersistent* sender, const TGUID& id);
    int ListenerCount() const { return int(FListeners.size()); }
    bool IsAttached(const TListener* listener) const;

private:
    friend class TListener;
    TPersistent* FOwner;
    std::vector<TListener*> FListeners;
};

class TListener {
public:
    using TCallback = std::function<void(TPersistent* sender, const TGUID& id)>;

    explicit TListener(TCallback callback = {}) : FCallback(std::move(callback)) {}
    virtual ~TListener();
    TListener(const TListener&) = delete;
    TListener& operator=(const TListener&) = delete;

    void SetCallback(TCallback callback) { FCallback = std::move(callback); }
    void Attach(TBroadcaster* broadcaster);
    void Detach(TBroadcaster* broadcaster);
    void DetachAll();
    int BroadcasterCount() const { return int(FBroadcasters.size()); }

protected:
    virtual void Notify(TPersistent* sender, const TGUID& id);

private:
    friend class TBroadcaster;
    TCallback FCallback;
    std::vector<TBroadcaster*> FBroadcasters;
};

// The per-object change notifier: changes between BeginUpdate and the
// outermost EndUpdate are announced once, as NID_ObjectChanged, followed by
// the owner's modified hook.
class TChangeNotify : public TBroadcaster {
public:
    using TModified = std::function<void()>;

    explicit TChangeNotify(TPersistent* owner = nullptr, TModified onModified = {})
        : TBroadcaster(owner), FOnModified(std::move(onModified)) {}

    void BeginUpdate();
    void EndUpdate();
    // BeginUpdate; changed := true; EndUpdate.
    void Changed();
    int UpdateDepth() const { return FDepth; }
    bool HasChanged() const { return FChanged; }
    void SetOnModified(TModified onModified) { FOnModified = std::move(onModified); }

private:
    int FDepth = 0;
    bool FChanged = false;
    TModified FOnModified;
};

} // namespace vellum
