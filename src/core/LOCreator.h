#pragma once
// The object factory: a new object of a kind named by the editor's
// commands, created through the class registry and placed on a site.

#include "core/DODesigner.h"

#include <QString>

#include <functional>

namespace vellum {

class TDrawObject;

// Records an object just added to a site in the undo history under a title.
using TAddedObjectRecorder = std::function<void(TDrawObject& object, const QString& title)>;
// Fills a pasted picture object from the clipboard and sizes it to the picture.
using TPicturePaster = std::function<void(TDrawObject& object)>;

class TLOCreator : public TDODesigner {
public:
    // Creates the kind, sets it up and places it on the site: drawn by the
    // user, after its property dialog, or at once. False when the kind is
    // unknown or its dialog was refused or cancelled (the object is freed).
    bool CreateObject(IDrawSite* site, const QString& kindName) override;
    // Without an owner; none when the kind's class is not registered.
    std::unique_ptr<TDrawObject> NewObject(const QString& kindName) override;
    // The class a kind name creates ("TLOImagePaste" -> "TLOImageV3"; other names stand for themselves).
    static QString ClassForKind(const QString& kindName);

    // Installed by the undo history and the picture kinds; empty until then.
    static void SetAddedObjectRecorder(TAddedObjectRecorder recorder);
    static void SetPicturePaster(TPicturePaster paster);
};

} // namespace vellum
