#include "imaging/PNGImage.h"

#include "base/Exceptions.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace vellum {

namespace {

// libpng reports errors by jumping out of its calls: the sessions below run
// in frames holding nothing with a destructor.
struct TPngSource {
    const unsigned char* Data;
    size_t Size;
    size_t Pos;
};

extern "C" void PngRead(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<TPngSource*>(png_get_io_ptr(png));
    if (count > src->Size - src->Pos) png_error(png, "read beyond the data");
    std::memcpy(out, src->Data + src->Pos, count);
    src->Pos += count;
}

extern "C" void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
extern "C" void PngWarning(png_structp, png_const_charp) {}

struct TPngDecodeJob {
    TPngSource Source;
    bool HeaderOnly;
    unsigned Width, Height;
    int Alpha;
    unsigned char* Rows; // second pass: BGR or BGRA rows, top-down
    long Stride;
};

int RunPngDecode(TPngDecodeJob* job) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png) return 1;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return 1;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return 1;
    }
    png_set_read_fn(png, &job->Source, PngRead);
    png_set_user_limits(png, 1u << 16, 1u << 16);
    png_read_info(png, info);
    job->Width = png_get_image_width(png, info);
    job->Height = png_get_image_height(png, info);
    const int colorType = png_get_color_type(png, info);
    job->Alpha = (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    if (job->HeaderOnly) {
        png_destroy_read_struct(&png, &info, nullptr);
        return 0;
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!job->Alpha) png_set_strip_alpha(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(job->Width) * (job->Alpha ? 4 : 3)) png_error(png, "row size");
    for (int pass = 0; pass < passes; ++pass)
        for (unsigned y = 0; y < job->Height; ++y)
            png_read_row(png, job->Rows + job->Stride * long(y), nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return 0;
}

struct TPngSink {
    unsigned char* Data; // grown with realloc
    size_t Size;
    size_t Capacity;
};

extern "C" void PngWrite(png_structp png, png_bytep data, png_size_t count) {
    auto* sink = static_cast<TPngSink*>(png_get_io_ptr(png));
    if (sink->Size + count > sink->Capacity) {
        size_t capacity = std::max(sink->Capacity * 2, sink->Size + count + 4096);
        auto* grown = static_cast<unsigned char*>(std::realloc(sink->Data, capacity));
        if (!grown) png_error(png, "out of memory");
        sink->Data = grown;
        sink->Capacity = capacity;
    }
    std::memcpy(sink->Data + sink->Size, data, count);
    sink->Size += count;
}

extern "C" void PngFlush(png_structp) {}

struct TPngEncodeJob {
    const unsigned char* Rows;
    long Stride;
    unsigned Width, Height;
    int Alpha;
    TPngSink Sink;
};

int RunPngEncode(TPngEncodeJob* job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png) return 1;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return 1;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 1;
    }
    png_set_write_fn(png, &job->Sink, PngWrite, PngFlush);
    // Fixed settings: the same pixels always give the same bytes.
    png_set_compression_level(png, 9);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_PAETH);
    png_set_IHDR(png, info, job->Width, job->Height, 8,
                 job->Alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_set_bgr(png);
    for (unsigned y = 0; y < job->Height; ++y)
        png_write_row(png, const_cast<png_bytep>(job->Rows + job->Stride * long(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return 0;
}

[[noreturn]] void Fail() { throw EInvalidGraphic(QStringLiteral("PNG イメージが不正です")); }

} // namespace

TDIB DecodePNG(QByteArrayView data) {
    if (data.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(data.data()), 0, 8) != 0) Fail();
    TPngDecodeJob job{};
    job.Source = {reinterpret_cast<const unsigned char*>(data.data()), size_t(data.size()), 0};
    job.HeaderOnly = true;
    if (RunPngDecode(&job) != 0 || job.Width == 0 || job.Height == 0) Fail();
    // Deflate expands at most about 1032 to 1: a larger claim is damage.
    const int64_t raw = int64_t(job.Width) * job.Height * (job.Alpha ? 4 : 3);
    if (raw > 1100 * int64_t(data.size()) + (int64_t(1) << 20)) Fail();
    TDIB dib(int(job.Width), int(job.Height), job.Alpha ? 32 : 24);
    dib.SetHasAlpha(job.Alpha);
    job.Source.Pos = 0;
    job.HeaderOnly = false;
    job.Rows = dib.ScanLine(0);
    job.Stride = long(dib.Stride());
    if (RunPngDecode(&job) != 0) Fail();
    return dib;
}

QByteArray EncodePNG(const TDIB& bitmap) {
    if (bitmap.Empty()) return {};
    const bool alpha = bitmap.HasAlpha();
    TDIB rows = bitmap;
    if (bitmap.BitCount() != (alpha ? 32 : 24)) rows = bitmap.To24Bit();
    TPngEncodeJob job{};
    job.Rows = rows.ScanLine(0);
    job.Stride = long(rows.Stride());
    job.Width = unsigned(rows.Width());
    job.Height = unsigned(rows.Height());
    job.Alpha = rows.HasAlpha();
    const int status = RunPngEncode(&job);
    QByteArray out;
    if (status == 0) out = QByteArray(reinterpret_cast<const char*>(job.Sink.Data), qsizetype(job.Sink.Size));
    std::free(job.Sink.Data);
    if (status != 0) throw EInvalidGraphicOperation(QStringLiteral("PNG イメージを作成できません"));
    return out;
}

std::unique_ptr<TGraphic> TPNGImage::Clone() const {
    auto copy = std::make_unique<TPNGImage>();
    copy->Assign(*this);
    return copy;
}

void TPNGImage::Draw(TCanvas& canvas, const TRect& dest) const { FBitmap.Draw(canvas, dest); }

void TPNGImage::LoadFromStream(TStream& stream) {
    QByteArray data = stream.ReadAll();
    TDIB bitmap = DecodePNG(data);
    FBitmap = std::move(bitmap);
    FData = std::move(data);
    Changed();
}

void TPNGImage::SaveToStream(TStream& stream) const {
    stream.WriteBytes(FData.isEmpty() ? EncodePNG(FBitmap) : FData);
}

void TPNGImage::SetBitmap(TDIB bitmap) {
    FBitmap = std::move(bitmap);
    FData.clear();
    Changed();
}

bool TPNGImage::Assign(const TGraphic& source) {
    if (const auto* png = dynamic_cast<const TPNGImage*>(&source)) {
        if (png == this) return true;
        FBitmap = png->FBitmap;
        FData = png->FData;
        Changed();
        return true;
    }
    TDIB raster = source.Raster();
    if (raster.Empty() && !source.Empty()) return false;
    SetBitmap(std::move(raster));
    return true;
}

} // namespace vellum
