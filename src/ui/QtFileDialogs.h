#pragma once
// The document commands' file dialogs shown with QFileDialog.

#include "commands/FileDialogs.h"

#include <QPointer>
#include <QWidget>

namespace vellum {

class TQtFileDialogs : public IFileDialogs {
public:
    explicit TQtFileDialogs(QWidget* parent = nullptr) : FParent(parent) {}

    TFileDialogAnswer OpenFile(const TFileDialogRequest& request) override;
    TFileDialogAnswer SaveFile(const TFileDialogRequest& request) override;

    void SetParent(QWidget* parent) { FParent = parent; }

    // A folder chooser with the same look; empty when cancelled.
    static QString ChooseFolder(QWidget* parent, const QString& title, const QString& startFolder);

private:
    TFileDialogAnswer Run(const TFileDialogRequest& request, bool save);

    QPointer<QWidget> FParent;
};

} // namespace vellum
