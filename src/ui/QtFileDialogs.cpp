#include "ui/QtFileDialogs.h"

#include "ui/FileFilter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

namespace vellum {
namespace {

void PrepareDialog(QFileDialog& dialog, bool save) {
    // Qt's own dialog on every desktop: the default extension must follow the
    // filter and the labels must be Japanese, which native dialogs do not promise.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::LookIn,
                        save ? QStringLiteral("保存する場所:") : QStringLiteral("ファイルの場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名(&N):"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類(&T):"));
    dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("保存(&S)") : QStringLiteral("開く(&O)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
}

constexpr int kPreviewSize = 200;

// A picture of the current file beside the list.
void AddPreview(QFileDialog& dialog, const std::function<QImage(const QString&)>& preview) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) return;
    auto* label = new QLabel(&dialog);
    label->setObjectName(QStringLiteral("lblPreview"));
    label->setFixedSize(kPreviewSize + 10, kPreviewSize + 10);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(label, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, label, [label, preview](const QString& file) {
        const QImage image = QFileInfo(file).isFile() ? preview(file) : QImage();
        if (image.isNull()) {
            label->setPixmap(QPixmap());
            label->setText(QStringLiteral("プレビューなし"));
        } else {
            label->setPixmap(QPixmap::fromImage(
                image.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        }
    });
}

} // namespace

TFileDialogAnswer TQtFileDialogs::OpenFile(const TFileDialogRequest& request) { return Run(request, false); }

TFileDialogAnswer TQtFileDialogs::SaveFile(const TFileDialogRequest& request) { return Run(request, true); }

TFileDialogAnswer TQtFileDialogs::Run(const TFileDialogRequest& request, bool save) {
    QFileDialog dialog(FParent, request.Title);
    // The modes rebuild the buttons, so they come before the labels.
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    PrepareDialog(dialog, save);

    const QStringList filters = QtNameFilters(request.Filter);
    int index = request.FilterIndex >= 1 && request.FilterIndex <= filters.size() ? request.FilterIndex : 1;
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters[index - 1]);
    }
    // Qt appends the suffix before it checks for an existing file.
    dialog.setDefaultSuffix(DefaultExtension(request, index));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
        if (const qsizetype i = filters.indexOf(chosen); i >= 0) {
            index = int(i) + 1;
            dialog.setDefaultSuffix(DefaultExtension(request, index));
        }
    });

    if (request.Preview) AddPreview(dialog, request.Preview);
    if (!request.InitialDir.isEmpty()) dialog.setDirectory(request.InitialDir);
    if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);

    TFileDialogAnswer answer;
    answer.FilterIndex = index;
    if (dialog.exec() != QDialog::Accepted) return answer;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return answer;
    if (const qsizetype i = filters.indexOf(dialog.selectedNameFilter()); i >= 0) index = int(i) + 1;
    answer.Accepted = true;
    answer.FilterIndex = index;
    answer.FileName = CompleteExtension(QDir::cleanPath(files.first()), DefaultExtension(request, index));
    return answer;
}

QString TQtFileDialogs::ChooseFolder(QWidget* parent, const QString& title, const QString& startFolder) {
    QFileDialog dialog(parent, title, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    PrepareDialog(dialog, false);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("選択(&S)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return QDir::cleanPath(dialog.selectedFiles().first());
}

} // namespace vellum
