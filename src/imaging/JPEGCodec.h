#pragma once
// libjpeg behind a boundary of plain functions: the library reports errors
// by jumping out of its calls, so no C++ object with a destructor lives in
// the frames it may jump across. Callers get a bitmap or EInvalidGraphic.

#include "imaging/DIB.h"

#include <QByteArrayView>

namespace vellum {

struct TJPEGHeader {
    int Width = 0;
    int Height = 0;
};

// Raises EInvalidGraphic when the bytes are not a readable JPEG.
TJPEGHeader ReadJPEGHeader(QByteArrayView data);
// Decoded at 1/denominator (1, 2, 4 or 8) into a 24-bit bitmap.
TDIB DecodeJPEG(QByteArrayView data, int denominator);
// A baseline JFIF file of a bitmap (any bit count), quality 1..100.
QByteArray EncodeJPEG(const TDIB& bitmap, int quality);

} // namespace vellum
