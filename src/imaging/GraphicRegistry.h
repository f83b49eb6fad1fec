#pragma once
// The graphic kinds by class name (stored pictures), by file extension
// (loading files) and by clipboard format. For each, the most recent
// registration wins.

#include "imaging/Graphic.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vellum {

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

class TGraphicRegistry {
public:
    struct TFileFormat {
        QString Extension; // upper case, without the dot
        QString Description;
        QString ClassName;
    };

    // The process-wide registry.
    static TGraphicRegistry& Instance();

    void RegisterClass(const QString& className, TGraphicFactory factory);
    void RegisterFileFormat(const QString& extension, const QString& description, const QString& className);
    void RegisterClipboardFormat(TClipboardFormat format, const QString& className);
    // Removes a kind and its file and clipboard formats.
    void UnregisterClass(const QString& className);
    void Clear();

    // None when nothing is registered under the name.
    std::unique_ptr<TGraphic> CreateByClassName(const QString& className) const;
    std::unique_ptr<TGraphic> CreateByExtension(const QString& extension) const;
    QString ClassForExtension(const QString& extension) const;
    QString ClassForClipboardFormat(TClipboardFormat format) const;
    // The file formats, most recent last, one per extension.
    std::vector<TFileFormat> FileFormats() const;

private:
    struct TClassEntry {
        QString ClassName;
        TGraphicFactory Factory;
    };
    struct TClipboardEntry {
        TClipboardFormat Format;
        QString ClassName;
    };
    std::vector<TClassEntry> FClasses;
    std::vector<TFileFormat> FFiles;
    std::vector<TClipboardEntry> FClipboard;
};

// The program's picture kinds, in start-up order: bitmaps ("BMP", "CBM"),
// JPEG ("JPG", "JPEG"), PNG, the older kinds stored documents name, and the
// kinds whose readers are not there yet (metafiles, icons, Photo CD).
void RegisterPictureFormats(TGraphicRegistry& registry = TGraphicRegistry::Instance());

} // namespace vellum
