#include "commands/CardImage.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "core/DOList.h"
#include "document/LabelData.h"
#include "editing/DrawSite.h"
#include "imaging/DIB.h"
#include "imaging/JPEGCodec.h"
#include "imaging/JPEGImage.h"
#include "imaging/PictureEx.h"
#include "paper/FaceInfo.h"
#include "paper/PaperInfo.h"
#include "platform/AtomicFile.h"
#include "platform/PainterCanvas.h"
#include "render/CardRenderer.h"

namespace vellum {

namespace {

// The face of card i on the current sheet's paper.
TFaceInfo FaceOf(const TLabelData& document, int card) {
    const TPaperInfo* paper = document.Paper();
    if (!paper) throw EPaperError(QStringLiteral("用紙が設定されていません"));
    if (card < 0 || card >= paper->FaceCount())
        throw EListError(
            Format(QStringLiteral("カード番号 %d は範囲外です (1〜%d)"), card + 1, paper->FaceCount()));
    TFaceInfo face;
    paper->GetFaceInfo(card, face);
    return face;
}

[[noreturn]] void RaiseCannotWrite(const QString& fileName, const QString& reason) {
    throw EWriteError(Format(QStringLiteral("名刺イメージ %s を保存できません: %s"), fileName, reason));
}

} // namespace

QImage DocumentFilePreview(const QString& fileName) {
    TPictureEx picture;
    if (!TLabelData::ReadPreviewFromFile(fileName, 0, 0, picture) || picture.Empty()) return QImage();
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
    if (image.isNull()) return QImage();
    image.fill(Qt::white);
    TPainterCanvas canvas(image);
    picture.Graphic()->Draw(canvas, {0, 0, picture.Width(), picture.Height()});
    return image;
}

void LoadCardOnSite(TLabelData& document, int card, TDrawSite& site) {
    const TPoint size = CardSizeOf(FaceOf(document, card));
    TOwnedDOList objects;
    document.LoadCard(card, objects);
    site.SetLogWidth(size.X);
    site.SetLogHeight(size.Y);
    GiveObjectsToSite(site, objects);
}

QImage RenderCardImage(TLabelData& document, int card, int scale, int unitsPerInch) {
    const TFaceInfo face = FaceOf(document, card);
    TOwnedDOList objects;
    document.LoadCard(card, objects);
    QImage bitmap;
    RenderObjectsToBitmap(face, objects, bitmap, scale, unitsPerInch, clWhite);
    return bitmap;
}

void ExportCardImage(TLabelData& document, int card, const QString& fileName, TCardImageFormat format) {
    const TDIB bitmap = TDIB::FromImage(RenderCardImage(document, card));
    const QByteArray bytes = format == TCardImageFormat::cfJpeg
                                 ? EncodeJPEG(bitmap, TJPEGImage().CompressionQuality())
                                 : bitmap.ToBMP();
    if (bytes.isEmpty()) RaiseCannotWrite(fileName, QStringLiteral("画像を作成できませんでした"));
    try {
        WriteFileAtomically(fileName, bytes);
    } catch (const EFileWriteError& error) {
        RaiseCannotWrite(fileName, error.Reason());
    }
}

} // namespace vellum
