#pragma once
// Face purposes: what kind of label a face is meant for, with the shapes
// that suit it; the list a catalogue and each paper keep, and the
// process-wide validator that retires obsolete purposes.

#include "base/Collection.h"
#include "base/Component.h"
#include "paper/FaceInfo.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace vellum {

class TStream;

class TPurposeInfo : public TPersistent {
    VELLUM_CLASS(TPurposeInfo)
public:
    TPurposeInfo() = default;
    TPurposeInfo(QString id, QString displayName, TFaceShapes mask)
        : ID(std::move(id)), DisplayName(std::move(displayName)), ShapeMask(mask) {}
    void Assign(const TPersistent* source) override;

    QString ID;
    QString DisplayName;
    TFaceShapes ShapeMask = 0;
};

class TPurposeList : public TOwnedCollection<TPurposeInfo> {
    VELLUM_CLASS(TPurposeList)
public:
    TPurposeList() = default;

    // Copies every item, then lets the validator clean the list.
    void Assign(const TPersistent* source) override;
    // Appends a copy when no item has the same ID (case-insensitive).
    bool AddIfMissing(const TPurposeInfo& item);
    // AddIfMissing for every item, then Clean; true when anything was added.
    bool Merge(const TPurposeList& list);
    // From the last item to the first, case-insensitive; -1 when none.
    int IndexOfID(const QString& id) const;
    void GetDisplayNames(QStringList& strings) const;
    // A component stream of a TPLStreamer whose List is this list.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void SetDefault();
    // The ID as the installed validator translates it.
    static QString PurposeName(const QString& id);

private:
};

// The root object a purpose list is streamed under.
class TPLStreamer : public TComponent {
    VELLUM_CLASS(TPLStreamer)
public:
    explicit TPLStreamer(TComponent* owner = nullptr) : TComponent(owner) {}
    explicit TPLStreamer(TPurposeList* list) : FList(list) {}
    TPurposeList* List() const { return FList ? FList : &FOwnList; }

private:
    TPurposeList* FList = nullptr;
    mutable TPurposeList FOwnList; // when streamed on its own
};

class TPurposeValidator {
public:
    virtual ~TPurposeValidator() = default;
    virtual bool IsObsolete(const QString& id) const = 0;
    virtual QString Translate(const QString& id) const = 0;
    // Removes every obsolete purpose, last to first.
    virtual void Clean(TPurposeList& list) const;
};

// Retires "MO", "FD" (now "MOSquare") and "CDCase" (now "CDCaseTray").
class TCDLabelPurposeValidator : public TPurposeValidator {
public:
    bool IsObsolete(const QString& id) const override;
    QString Translate(const QString& id) const override;
};

// The process-wide validator; null removes it. The previous one is returned.
std::unique_ptr<TPurposeValidator> InstallPurposeValidator(std::unique_ptr<TPurposeValidator> validator);
const TPurposeValidator* PurposeValidator();

} // namespace vellum
