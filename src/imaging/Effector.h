#pragma once
// Pixel effects on 24- and 32-bit bitmaps (bytes blue, green, red[, x]).
// Every effect reads a rectangle of its source and writes a target of that
// size in the source's pixel format; other formats are left alone.

#include "imaging/DIB.h"

#include <array>
#include <cstdint>

namespace vellum {

// Told the number of steps first, then one step at a time.
class TProgressReceiver {
public:
    virtual ~TProgressReceiver() = default;
    virtual void SetSteps(int steps) = 0;
    virtual void Step() = 0;
};

class TGREffector {
public:
    TGREffector() = default;
    virtual ~TGREffector() = default;
    TGREffector(const TGREffector&) = delete;
    TGREffector& operator=(const TGREffector&) = delete;

    const TDIB* Source = nullptr;
    TDIB* Target = nullptr;
    // Empty: the whole source. Clipped to the source.
    TRect SourceRect;
    TProgressReceiver* Progress = nullptr;

    virtual void Run() = 0;

protected:
    // Checks the formats, sizes the target and announces the steps; false
    // when there is nothing to do. The rectangle actually processed is FRect.
    bool Begin(bool buildsTable);
    // After each processed row y (0-based in the rectangle).
    void RowDone(int y);
    void End();
    int BytesPerPixel() const { return Source->BitCount() / 8; }
    const uint8_t* SourceRow(int y) const {
        return Source->ScanLine(FRect.Top + y) + FRect.Left * BytesPerPixel();
    }

    TRect FRect;
};

class TGREffectMonoTone : public TGREffector {
public:
    TColor RefColor = clBlack;
    void Run() override;
    // 256 colours of the reference hue and saturation at lightness j/255.
    static std::array<TColor, 256> MakeTable(TColor refColor);
};

class TGREffectBrightnessContrast : public TGREffector {
public:
    int Brightness = 0; // percent
    int Contrast = 0;   // percent
    void Run() override;
    static std::array<uint8_t, 256> MakeTable(int brightness, int contrast);
};

class TGREffectBlur : public TGREffector {
public:
    int PassCount = 1;
    void Run() override;
};

class TGREffectColorChange : public TGREffector {
public:
    TColor OldColor = clBlack;
    TColor NewColor = clBlack;
    void Run() override;
};

class TGREffectUnsharpMask : public TGREffector {
public:
    double Amount = 1;
    void Run() override;
};

// One 3 x 3 mean pass over a rectangle (inside the bitmap) of a 24- or
// 32-bit bitmap, edges replicated; the result has the rectangle's size.
TDIB BlurPass(const TDIB& source, const TRect& rect);

} // namespace vellum
