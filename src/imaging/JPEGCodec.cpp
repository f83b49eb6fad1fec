#include "imaging/JPEGCodec.h"

#include "base/Exceptions.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace vellum {

namespace {

// Everything the C side needs, and nothing with a destructor.
struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->Message);
    std::longjmp(err->Jump, 1);
}

// A file that ends before its data is damage, not something to pad grey.
extern "C" void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) JpegErrorExit(cinfo);
}

struct TDecodeJob {
    const unsigned char* Data;
    unsigned long Size;
    int Denominator;
    bool HeaderOnly;
    // Filled by the decoder:
    int Width, Height;
    // The output rows, provided for the second pass.
    unsigned char* Rows;
    long Stride;
    int CMYK;
    int Inverted;
};

constexpr long kMaxMemory = 512L << 20;

// Returns 0 on success. Runs the whole libjpeg session inside one frame.
int RunDecode(TDecodeJob* job, TJpegError* err) {
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&err->Manager);
    err->Manager.error_exit = JpegErrorExit;
    err->Manager.emit_message = JpegEmitMessage;
    err->Message[0] = 0;
    if (setjmp(err->Jump)) {
        jpeg_destroy_decompress(&cinfo);
        return 1;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxMemory;
    jpeg_mem_src(&cinfo, job->Data, job->Size);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = unsigned(job->Denominator);
    job->CMYK = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    job->Inverted = cinfo.saw_Adobe_marker;
    cinfo.out_color_space = job->CMYK ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&cinfo);
    job->Width = int(cinfo.output_width);
    job->Height = int(cinfo.output_height);
    if (job->HeaderOnly) {
        jpeg_destroy_decompress(&cinfo);
        return 0;
    }
    jpeg_start_decompress(&cinfo);
    if (int(cinfo.output_width) != job->Width || int(cinfo.output_height) != job->Height) {
        jpeg_destroy_decompress(&cinfo);
        return 1;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = job->Rows + job->Stride * long(cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

struct TEncodeJob {
    const unsigned char* Rows; // BGR, top-down
    long Stride;
    int Width, Height, Quality;
    unsigned char* Out; // malloc'ed by libjpeg
    unsigned long OutSize;
};

int RunEncode(TEncodeJob* job, TJpegError* err) {
    jpeg_compress_struct cinfo;
    cinfo.err = jpeg_std_error(&err->Manager);
    err->Manager.error_exit = JpegErrorExit;
    if (setjmp(err->Jump)) {
        jpeg_destroy_compress(&cinfo);
        return 1;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &job->Out, &job->OutSize);
    cinfo.image_width = JDIMENSION(job->Width);
    cinfo.image_height = JDIMENSION(job->Height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, job->Quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(job->Rows + job->Stride * long(cinfo.next_scanline));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 0;
}

[[noreturn]] void Fail() { throw EInvalidGraphic(QStringLiteral("JPEG イメージが不正です")); }

TDecodeJob Job(QByteArrayView data, int denominator, bool headerOnly) {
    if (data.size() < 4) Fail();
    TDecodeJob job{};
    job.Data = reinterpret_cast<const unsigned char*>(data.data());
    job.Size = static_cast<unsigned long>(data.size());
    job.Denominator = denominator;
    job.HeaderOnly = headerOnly;
    return job;
}

} // namespace

TJPEGHeader ReadJPEGHeader(QByteArrayView data) {
    TDecodeJob job = Job(data, 1, true);
    TJpegError err;
    if (RunDecode(&job, &err) != 0 || job.Width <= 0 || job.Height <= 0) Fail();
    return {job.Width, job.Height};
}

TDIB DecodeJPEG(QByteArrayView data, int denominator) {
    if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8) denominator = 1;
    TDecodeJob job = Job(data, denominator, true);
    TJpegError err;
    if (RunDecode(&job, &err) != 0 || job.Width <= 0 || job.Height <= 0) Fail();
    // The claimed size against the data: even the most compact JPEG spends
    // some bits on every 8 x 8 block.
    const int64_t pixels = int64_t(job.Width) * job.Height * denominator * denominator;
    if (pixels > 4096 * int64_t(data.size()) + (int64_t(1) << 20) ||
        int64_t(job.Width) * job.Height > (int64_t(1) << 28))
        Fail();
    const int components = job.CMYK ? 4 : 3;
    std::vector<unsigned char> rows(size_t(job.Width) * size_t(job.Height) * size_t(components));
    job.HeaderOnly = false;
    job.Rows = rows.data();
    job.Stride = long(job.Width) * components;
    if (RunDecode(&job, &err) != 0) Fail();
    TDIB dib(job.Width, job.Height, 24);
    for (int y = 0; y < job.Height; ++y) {
        const unsigned char* src = rows.data() + job.Stride * y;
        uint8_t* dst = dib.ScanLine(y);
        if (!job.CMYK) {
            std::memcpy(dst, src, size_t(job.Width) * 3);
            continue;
        }
        for (int x = 0; x < job.Width; ++x) {
            int c = src[4 * x], m = src[4 * x + 1], yy = src[4 * x + 2], k = src[4 * x + 3];
            if (!job.Inverted) {
                c = 255 - c;
                m = 255 - m;
                yy = 255 - yy;
                k = 255 - k;
            }
            dst[3 * x] = uint8_t(yy * k / 255);
            dst[3 * x + 1] = uint8_t(m * k / 255);
            dst[3 * x + 2] = uint8_t(c * k / 255);
        }
    }
    return dib;
}

QByteArray EncodeJPEG(const TDIB& bitmap, int quality) {
    if (bitmap.Empty()) return {};
    TDIB bgr = bitmap.To24Bit();
    TEncodeJob job{};
    job.Rows = bgr.ScanLine(0);
    job.Stride = long(bgr.Stride());
    job.Width = bgr.Width();
    job.Height = bgr.Height();
    job.Quality = std::clamp(quality, 1, 100);
    TJpegError err;
    const int status = RunEncode(&job, &err);
    QByteArray out;
    if (status == 0) out = QByteArray(reinterpret_cast<const char*>(job.Out), qsizetype(job.OutSize));
    std::free(job.Out);
    if (status != 0) throw EInvalidGraphicOperation(QStringLiteral("JPEG イメージを作成できません"));
    return out;
}

} // namespace vellum
