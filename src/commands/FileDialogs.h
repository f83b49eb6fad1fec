#pragma once
// The file dialogs the document commands ask through, so that tests and the
// command-line tool answer them without a user. Filters are in the
// "caption|pattern|caption|pattern" form; the window converts them.

#include <QImage>
#include <QString>

#include <functional>

namespace vellum {

struct TFileDialogRequest {
    QString Title;
    QString Filter;
    int FilterIndex = 1; // 1-based, as the filter lists them
    QString DefaultExt;  // without the dot
    // The default extension follows the chosen filter when the filter's
    // pattern is a single "*.ext" (image export: bmp or jpg).
    bool DefaultExtFromFilter = false;
    QString InitialDir;
    QString FileName;
    // A picture of the file under the cursor, shown beside the list; null
    // image for none.
    std::function<QImage(const QString& fileName)> Preview;
};

struct TFileDialogAnswer {
    bool Accepted = false;
    QString FileName;
    int FilterIndex = 1;
};

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual TFileDialogAnswer OpenFile(const TFileDialogRequest& request) = 0;
    virtual TFileDialogAnswer SaveFile(const TFileDialogRequest& request) = 0;
};

} // namespace vellum
