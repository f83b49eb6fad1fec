#pragma once
// The most recently chosen colours (TColorSpec values), most recent first, kept
// in a compound file with a 48 x 48 swatch for each.

#include "base/Component.h"
#include "imaging/ColorSpec.h"

#include <QString>

#include <memory>

namespace vellum {

class TPictureEx;

// The component an entry is streamed as: its one property is the colour.
class TColorSpecWrapper : public TComponent {
    VELLUM_CLASS(TColorSpecWrapper)
public:
    explicit TColorSpecWrapper(TComponent* owner = nullptr) : TComponent(owner) {}
    TColorSpec& ColorSpec() const { return *FColorSpec; }

private:
    std::unique_ptr<TColorSpec> FColorSpec = std::make_unique<TColorSpec>();
};

class TColorSpecHistory : public TComponent {
    VELLUM_CLASS(TColorSpecHistory)
public:
    explicit TColorSpecHistory(TComponent* owner = nullptr) : TComponent(owner) {}

    const QString& Filename() const { return FFilename; }
    void SetFilename(const QString& name) { FFilename = name; }
    int Limit() const { return FLimit; }
    void SetLimit(int limit) { FLimit = limit; }

    // Moves a listed colour to the front or inserts it there, then
    // drops the oldest entries beyond Limit.
    void Add(const TColorSpec& colorSpec);
    // 0 when the file cannot be opened.
    int Count() const;
    // False when the entry cannot be read.
    bool Read(int index, TColorSpec& colorSpec) const;
    bool ReadPreview(int index, TPictureEx& picture) const;
    // Closes and deletes the file.
    void Clear();

    // The entry name of a colour: the decimal text of the hash over
    // its stream without the picture, its swatch and four zero bytes.
    static QString EntryName(const TColorSpec& colorSpec);
    // The swatch as the picture stream form of a PNG.
    static QByteArray PreviewStream(const TColorSpec& colorSpec);

private:
    QString FFilename;
    int FLimit = 10;
};

} // namespace vellum
