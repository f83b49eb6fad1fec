#pragma once
// The picture container of every picture in the program: one graphic of a
// registered kind, where it came from, and a change notifier.

#include "imaging/Graphic.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QMimeData;

namespace vellum {

class TSafetyBitmap;
class TSafetyJPEGImage;

class TPictureEx {
public:
    using TListener = std::function<void(TPictureEx&)>;

    TPictureEx();
    ~TPictureEx();
    TPictureEx(const TPictureEx&) = delete;
    TPictureEx& operator=(const TPictureEx&) = delete;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Takes the graphic (none empties the picture).
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    bool Empty() const { return !FGraphic || FGraphic->Empty(); }
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    void Draw(TCanvas& canvas, const TRect& dest) const;

    const QString& ImageID() const { return FImageID; }
    void SetImageID(const QString& id) { FImageID = id; }
    const QString& StorageID() const { return FStorageID; }
    void SetStorageID(const QString& id) { FStorageID = id; }
    // The third identifier, copied with the other two.
    const QString& SourceID() const { return FSourceID; }
    void SetSourceID(const QString& id) { FSourceID = id; }
    // The picture is reloaded from its source: its data is not stored.
    bool External() const { return FExternal; }
    void SetExternal(bool external) { FExternal = external; }

    // Change notifier: every listener hears every change, once even when
    // the change happens while it is being announced.
    int AddListener(TListener listener);
    void RemoveListener(int id);

    // Copies the graphic and the identifiers. A graphic of the same class
    // (not JPEG) is assigned in place.
    void Assign(const TPictureEx& source);
    // Converts the graphic in place (an empty one of the kind when it was of
    // another kind) without change events, and returns it.
    TSafetyBitmap& AsBitmap();
    TSafetyJPEGImage& AsJPEG();

    // By the file's extension, through the graphic registry.
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;

    // The binary property "Data": kind name (length byte, then the class
    // name) and the graphic's data. A failed read leaves the picture as it
    // was. HasData says whether the property is written at all.
    bool HasData() const { return !FExternal && !Empty(); }
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;

    // The first of bitmap, device-independent bitmap and metafile that a
    // registered kind accepts; false when the clipboard holds none.
    bool LoadFromClipboard(const QMimeData& data);
    void SaveToClipboard(QMimeData& data) const;
    static bool ClipboardHasPicture(const QMimeData& data);

private:
    void Changed();
    void Hook();

    std::unique_ptr<TGraphic> FGraphic;
    QString FImageID;
    QString FStorageID;
    QString FSourceID;
    bool FExternal = false;
    std::vector<std::pair<int, TListener>> FListeners;
    int FNextListener = 1;
    bool FSignalling = false;
    int FSuppressed = 0;
};

// A picture in a stream of its own: the same bytes as the "Data" property.
void WritePictureToStream(const TPictureEx& picture, TStream& stream);
void ReadPictureFromStream(TPictureEx& picture, TStream& stream);

} // namespace vellum
