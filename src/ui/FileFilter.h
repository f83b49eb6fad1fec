#pragma once
// Filters in the "caption|pattern|caption|pattern" form the commands use,
// turned into what QFileDialog understands, and the default-extension rules
// of the file dialogs.

#include <QList>
#include <QString>
#include <QStringList>

namespace vellum {

struct TFileDialogRequest;

struct TFilterItem {
    QString Caption;
    QStringList Patterns; // "*.bmp", "*.*", ...
};

// The caption/pattern pairs in order; a trailing caption without its
// pattern is dropped, an empty pattern stands for every file.
QList<TFilterItem> ParseFileFilter(const QString& filter);

// One Qt name filter per item: the caption as the user sees it, followed by
// the patterns in parentheses unless it already ends with them.
QString QtNameFilter(const TFilterItem& item);
QStringList QtNameFilters(const QString& filter);

// The extension of item filterIndex (1-based) when its only pattern is
// "*.ext" without wildcards in ext, else empty.
QString FilterExtension(const QString& filter, int filterIndex);

// The default extension of a dialog whose filter filterIndex is chosen.
QString DefaultExtension(const TFileDialogRequest& request, int filterIndex);

// fileName with "." + ext appended when its last part has no dot.
QString CompleteExtension(const QString& fileName, const QString& ext);

} // namespace vellum
