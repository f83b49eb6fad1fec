#pragma once
// Alpha blending of a source bitmap into a target through an 8-bit alpha
// map: d := d + trunc(a (s - d) / 255) per channel.

#include "imaging/DIB.h"
#include "imaging/Effector.h"

#include <array>
#include <cstdint>

namespace vellum {

class TGRBlender {
public:
    TGRBlender() = default;
    virtual ~TGRBlender() = default;
    TGRBlender(const TGRBlender&) = delete;
    TGRBlender& operator=(const TGRBlender&) = delete;

    TDIB* Target = nullptr;
    const TDIB* Source = nullptr;
    TRect TargetRect;
    TRect SourceRect;
    TProgressReceiver* Progress = nullptr;

    // Same pixel format, 24 or 32 bits, rectangles of one size inside their bitmaps.
    virtual bool CanBlend() const;
    virtual void Blend() = 0;
};

class TGRBlendAlphaMap : public TGRBlender {
public:
    const TDIB* AlphaMap = nullptr;
    TRect AlphaRect;
    bool CanBlend() const override;
    void Blend() override;

protected:
    // The alpha each map value stands for.
    virtual std::array<uint8_t, 256> AlphaTable() const;
};

class TGRBlendAlphaMapRatio : public TGRBlendAlphaMap {
public:
    int Ratio = 100; // percent, clamped to 0..100
protected:
    std::array<uint8_t, 256> AlphaTable() const override;
};

// min(MulDiv(a, ratio, 100), 255) for every a, the ratio clamped to 0..100.
std::array<uint8_t, 256> RatioAlphaTable(int ratio);

// Blends `width` pixels: the first `channels` bytes of each pixel of dest
// (destBpp bytes apart) with those of source (sourceBpp apart), with the
// alpha map's bytes taken through alphaTable.
void BlendAlphaRow(uint8_t* dest, int destBpp, const uint8_t* source, int sourceBpp, const uint8_t* alpha,
                   int width, int channels, const std::array<uint8_t, 256>& alphaTable);

} // namespace vellum
