#include "platform/FreeTypeFontEngine.h"

#include "base/Cp932.h"
#include "base/Numerics.h"

#include <QHash>
#include <QTransform>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H
#include FT_TRUETYPE_TABLES_H
#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace vellum {
namespace {

// The fallback faces, tried in this order when a name is neither installed nor a known alias.
const char* const kFallbackFaces[] = {"ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝", "ＭＳ ゴシック", "ＭＳ 明朝",
                                      "標準ゴシック",    "標準明朝",    "System"};

QString StripVertical(const QString& face) { return face.startsWith(u'@') ? face.mid(1) : face; }

QString FcString(FcPattern* pattern, const char* object, int n = 0) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || !value) return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

struct TFaceFile {
    QByteArray Path;
    int Index = 0;
    int Weight = FC_WEIGHT_REGULAR;
    bool Italic = false;
};

struct TFamily {
    QString Name; // the first name fontconfig gives
    std::vector<TFaceFile> Files;
};

// One glyph in design units, y up, with synthetic styles applied.
struct TGlyph {
    QPainterPath Path;
    bool Empty = true;
    double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    double Advance = 0;
    double VertBearingX = 0, VertBearingY = 0, VertAdvance = 0;
};

struct TLoadedFace {
    FT_Face Face = nullptr;
    QString File;
    int FaceIndex = 0;
    hb_font_t* Shaper = nullptr;
    double Units = 1000;
    double WinAscent = 0, WinDescent = 0, LineGap = 0, HheaAscent = 0, HheaDescent = 0;
    bool HasOutlineMetrics = false;
    double UnderlinePosition = 0, UnderlineSize = 0, StrikeOutPosition = 0, StrikeOutSize = 0;
    int Charset = kDefaultCharset;
    bool HasVerticalForms = false;
    bool SynthBold = false, SynthItalic = false;
    QHash<uint32_t, TGlyph> Glyphs;
    QHash<char32_t, uint32_t> VerticalGlyphs;

    ~TLoadedFace() {
        if (Shaper) hb_font_destroy(Shaper);
        if (Face) FT_Done_Face(Face);
    }
};

bool HasFeature(hb_face_t* face, hb_tag_t table, hb_tag_t feature) {
    unsigned count = hb_ot_layout_table_get_feature_tags(face, table, 0, nullptr, nullptr);
    std::vector<hb_tag_t> tags(count);
    hb_ot_layout_table_get_feature_tags(face, table, 0, &count, tags.data());
    return std::find(tags.begin(), tags.end(), feature) != tags.end();
}

// Collects an outline as closed contours of lines and cubics.
struct TOutlineSink {
    QPainterPath Path;
    QPointF Last;
    bool Open = false;
    static QPointF P(const FT_Vector* v) { return QPointF(double(v->x), double(v->y)); }
    static int Move(const FT_Vector* to, void* user) {
        auto* s = static_cast<TOutlineSink*>(user);
        if (s->Open) s->Path.closeSubpath();
        s->Last = P(to);
        s->Path.moveTo(s->Last);
        s->Open = true;
        return 0;
    }
    static int Line(const FT_Vector* to, void* user) {
        auto* s = static_cast<TOutlineSink*>(user);
        s->Last = P(to);
        s->Path.lineTo(s->Last);
        return 0;
    }
    static int Conic(const FT_Vector* control, const FT_Vector* to, void* user) {
        auto* s = static_cast<TOutlineSink*>(user);
        const QPointF c = P(control), e = P(to);
        // A quadratic raised to the cubic of the same curve.
        s->Path.cubicTo(s->Last + (c - s->Last) * (2.0 / 3), e + (c - e) * (2.0 / 3), e);
        s->Last = e;
        return 0;
    }
    static int Cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto* s = static_cast<TOutlineSink*>(user);
        s->Last = P(to);
        s->Path.cubicTo(P(c1), P(c2), s->Last);
        return 0;
    }
};

} // namespace

struct TFreeTypeFontEngine::TImpl {
    FT_Library Library = nullptr;
    std::vector<TFamily> Families;
    QHash<QString, int> FamilyByName; // case-folded name -> family
    QHash<QString, QString> Resolved;
    QString SystemDefault;
    std::map<std::tuple<int, bool, bool>, std::unique_ptr<TLoadedFace>> Faces;
    std::map<QByteArray, std::unique_ptr<TLoadedFace>> FallbackFaces;
    QHash<char32_t, TLoadedFace*> CharFallback;

    TImpl() {
        FT_Init_FreeType(&Library);
        FcInit();
        Enumerate();
    }
    ~TImpl() {
        CharFallback.clear();
        Faces.clear();
        FallbackFaces.clear();
        if (Library) FT_Done_FreeType(Library);
    }

    void Enumerate() {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT,
                                                FC_FONTFORMAT, static_cast<char*>(nullptr));
        FcFontSet* set = FcFontList(nullptr, pattern, objects);
        for (int i = 0; set && i < set->nfont; ++i) {
            FcPattern* font = set->fonts[i];
            const QString format = FcString(font, FC_FONTFORMAT);
            if (format != QLatin1String("TrueType") && format != QLatin1String("CFF")) continue;
            TFaceFile file;
            file.Path = FcString(font, FC_FILE).toUtf8();
            FcPatternGetInteger(font, FC_INDEX, 0, &file.Index);
            FcPatternGetInteger(font, FC_WEIGHT, 0, &file.Weight);
            int slant = FC_SLANT_ROMAN;
            FcPatternGetInteger(font, FC_SLANT, 0, &slant);
            file.Italic = slant != FC_SLANT_ROMAN;
            const QString first = FcString(font, FC_FAMILY, 0);
            if (first.isEmpty() || file.Path.isEmpty()) continue;
            int family = FamilyByName.value(first.toCaseFolded(), -1);
            if (family < 0) {
                family = int(Families.size());
                Families.push_back(TFamily{first, {}});
            }
            Families[size_t(family)].Files.push_back(file);
            for (int n = 0;; ++n) {
                const QString name = FcString(font, FC_FAMILY, n);
                if (name.isEmpty()) break;
                if (!FamilyByName.contains(name.toCaseFolded()))
                    FamilyByName.insert(name.toCaseFolded(), family);
            }
        }
        if (set) FcFontSetDestroy(set);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);

        FcPattern* ja = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ja"));
        FcConfigSubstitute(nullptr, ja, FcMatchPattern);
        FcDefaultSubstitute(ja);
        FcResult result;
        if (FcPattern* match = FcFontMatch(nullptr, ja, &result)) {
            const int family = FamilyByName.value(FcString(match, FC_FAMILY).toCaseFolded(), -1);
            if (family >= 0) SystemDefault = Families[size_t(family)].Name;
            FcPatternDestroy(match);
        }
        FcPatternDestroy(ja);
    }

    int FamilyOf(const QString& name) const {
        return FamilyByName.value(StripVertical(name).toCaseFolded(), -1);
    }

    std::unique_ptr<TLoadedFace> Load(const TFaceFile& file) {
        auto face = std::make_unique<TLoadedFace>();
        if (FT_New_Face(Library, file.Path.constData(), file.Index, &face->Face) != 0) return nullptr;
        FT_Face f = face->Face;
        face->File = QString::fromUtf8(file.Path);
        face->FaceIndex = file.Index;
        face->Units = f->units_per_EM > 0 ? f->units_per_EM : 1000;
        face->HheaAscent = f->ascender;
        face->HheaDescent = -f->descender;
        face->LineGap = std::max(0, f->height - (f->ascender - f->descender));
        face->WinAscent = face->HheaAscent;
        face->WinDescent = face->HheaDescent;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
            os2 && os2->version != 0xFFFF) {
            if (os2->usWinAscent + os2->usWinDescent > 0) {
                face->WinAscent = os2->usWinAscent;
                face->WinDescent = os2->usWinDescent;
            }
            face->StrikeOutPosition = os2->yStrikeoutPosition;
            face->StrikeOutSize = os2->yStrikeoutSize;
            face->HasOutlineMetrics = true;
            if (os2->ulCodePageRange1 & (1u << 17))
                face->Charset = kShiftJisCharset;
            else if (os2->ulCodePageRange1 & 1u)
                face->Charset = kAnsiCharset;
        }
        face->UnderlinePosition = f->underline_position;
        face->UnderlineSize = f->underline_thickness;
        // HarfBuzz reads the file's own tables: its substitutions need no FreeType sizes.
        hb_blob_t* blob = hb_blob_create_from_file(file.Path.constData());
        hb_face_t* hbFace = hb_face_create(blob, unsigned(file.Index));
        hb_blob_destroy(blob);
        face->Shaper = hb_font_create(hbFace);
        hb_face_destroy(hbFace);
        face->HasVerticalForms = HasFeature(hbFace, HB_OT_TAG_GSUB, HB_TAG('v', 'e', 'r', 't')) ||
                                 HasFeature(hbFace, HB_OT_TAG_GSUB, HB_TAG('v', 'r', 't', '2'));
        return face;
    }

    // The face of a family in a style: the installed style, or the regular
    // face with the style synthesised.
    TLoadedFace* FaceOf(int family, bool bold, bool italic) {
        auto key = std::make_tuple(family, bold, italic);
        auto it = Faces.find(key);
        if (it != Faces.end()) return it->second.get();
        const TFamily& f = Families[size_t(family)];
        const TFaceFile* best = nullptr;
        int bestScore = 0;
        for (const TFaceFile& file : f.Files) {
            const bool isBold = file.Weight >= FC_WEIGHT_BOLD;
            int score = std::abs(file.Weight - (bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR));
            if (isBold != bold) score += 1000;
            if (file.Italic != italic) score += 2000;
            if (!best || score < bestScore) best = &file, bestScore = score;
        }
        std::unique_ptr<TLoadedFace> face = best ? Load(*best) : nullptr;
        if (face) {
            face->SynthBold = bold && best->Weight < FC_WEIGHT_BOLD;
            face->SynthItalic = italic && !best->Italic;
        }
        TLoadedFace* result = face.get();
        Faces[key] = std::move(face);
        return result;
    }

    TLoadedFace* MainFace(const TFontRequest& request) {
        const int family = FamilyOf(ResolveName(request.Face));
        return family < 0 ? nullptr : FaceOf(family, request.Bold, request.Italic);
    }

    // The face that draws the character: the requested one, or a face with
    // the character that fontconfig finds for Japanese text.
    TLoadedFace* FaceFor(TLoadedFace* main, char32_t c) {
        if (!main || FT_Get_Char_Index(main->Face, c) != 0) return main;
        auto it = CharFallback.constFind(c);
        if (it != CharFallback.constEnd()) return *it ? *it : main;
        TLoadedFace* found = nullptr;
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=ja"));
        FcCharSet* set = FcCharSetCreate();
        FcCharSetAddChar(set, c);
        FcPatternAddCharSet(pattern, FC_CHARSET, set);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            TFaceFile file;
            file.Path = FcString(match, FC_FILE).toUtf8();
            FcPatternGetInteger(match, FC_INDEX, 0, &file.Index);
            const QByteArray key = file.Path + '#' + QByteArray::number(file.Index);
            auto loaded = FallbackFaces.find(key);
            if (loaded == FallbackFaces.end()) loaded = FallbackFaces.emplace(key, Load(file)).first;
            TLoadedFace* face = loaded->second.get();
            if (face && FT_Get_Char_Index(face->Face, c) != 0) {
                face->SynthBold = main->SynthBold;
                face->SynthItalic = main->SynthItalic;
                found = face;
            }
            FcPatternDestroy(match);
        }
        FcCharSetDestroy(set);
        FcPatternDestroy(pattern);
        CharFallback.insert(c, found);
        return found ? found : main;
    }

    uint32_t GlyphIndex(TLoadedFace& face, char32_t c, bool upright) {
        const uint32_t plain = FT_Get_Char_Index(face.Face, c);
        if (!upright || !face.HasVerticalForms) return plain;
        auto it = face.VerticalGlyphs.constFind(c);
        if (it != face.VerticalGlyphs.constEnd()) return *it;
        hb_buffer_t* buffer = hb_buffer_create();
        const uint32_t text[] = {uint32_t(c)};
        hb_buffer_add_utf32(buffer, text, 1, 0, 1);
        hb_buffer_set_direction(buffer, HB_DIRECTION_TTB);
        hb_buffer_set_script(buffer, HB_SCRIPT_HAN);
        hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
        const hb_feature_t features[] = {{HB_TAG('v', 'e', 'r', 't'), 1, 0, ~0u},
                                         {HB_TAG('v', 'r', 't', '2'), 1, 0, ~0u}};
        hb_shape(face.Shaper, buffer, features, 2);
        unsigned count = 0;
        hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
        const uint32_t glyph = count == 1 ? info[0].codepoint : plain;
        hb_buffer_destroy(buffer);
        face.VerticalGlyphs.insert(c, glyph);
        return glyph;
    }

    const TGlyph& Glyph(TLoadedFace& face, uint32_t index) {
        auto it = face.Glyphs.find(index);
        if (it != face.Glyphs.end()) return *it;
        TGlyph g;
        if (FT_Load_Glyph(face.Face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0) {
            FT_GlyphSlot slot = face.Face->glyph;
            g.Advance = slot->metrics.horiAdvance;
            g.VertBearingX = slot->metrics.vertBearingX;
            g.VertBearingY = slot->metrics.vertBearingY;
            g.VertAdvance = slot->metrics.vertAdvance;
            if (slot->format == FT_GLYPH_FORMAT_OUTLINE && slot->outline.n_contours > 0) {
                FT_Outline& outline = slot->outline;
                if (face.SynthBold) {
                    const FT_Pos strength = FT_Pos(face.Units / 32);
                    FT_Outline_EmboldenXY(&outline, strength, strength);
                    g.Advance += strength;
                    g.VertAdvance += strength;
                }
                if (face.SynthItalic) {
                    FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
                    FT_Outline_Transform(&outline, &shear);
                }
                FT_BBox box;
                FT_Outline_Get_BBox(&outline, &box);
                g.XMin = box.xMin, g.XMax = box.xMax, g.YMin = box.yMin, g.YMax = box.yMax;
                TOutlineSink sink;
                FT_Outline_Funcs funcs{&TOutlineSink::Move,
                                       &TOutlineSink::Line,
                                       &TOutlineSink::Conic,
                                       &TOutlineSink::Cubic,
                                       0,
                                       0};
                FT_Outline_Decompose(&outline, &funcs, &sink);
                if (sink.Open) sink.Path.closeSubpath();
                g.Path = sink.Path;
                g.Empty = box.xMax <= box.xMin || box.yMax <= box.yMin;
            }
        }
        return *face.Glyphs.insert(index, g);
    }

    QString Installed(const QString& name) const {
        const int family = FamilyOf(name);
        return family < 0 ? QString() : Families[size_t(family)].Name;
    }

    QString InstalledOrAlias(const QString& name) const {
        QString r = Installed(name);
        for (const QString& alias : FaceAliases(name)) {
            if (!r.isEmpty()) break;
            r = Installed(alias);
        }
        return r;
    }

    QString ResolveName(const QString& face) {
        auto it = Resolved.constFind(face);
        if (it != Resolved.constEnd()) return *it;
        QString r = InstalledOrAlias(StripVertical(face));
        for (const char* fallback : kFallbackFaces) {
            if (!r.isEmpty()) break;
            r = InstalledOrAlias(QString::fromUtf8(fallback));
        }
        if (r.isEmpty()) r = SystemDefault;
        if (r.isEmpty() && !Families.empty()) r = Families.front().Name;
        if (face.startsWith(u'@') && !r.isEmpty()) r.prepend(u'@');
        Resolved.insert(face, r);
        return r;
    }
};

TFreeTypeFontEngine::TFreeTypeFontEngine() : FImpl(std::make_unique<TImpl>()) {}
TFreeTypeFontEngine::~TFreeTypeFontEngine() = default;

QStringList TFreeTypeFontEngine::FaceNames() {
    std::lock_guard guard(FLock);
    QStringList names;
    for (auto it = FImpl->FamilyByName.constBegin(); it != FImpl->FamilyByName.constEnd(); ++it) {
        const TFamily& family = FImpl->Families[size_t(it.value())];
        // Every spelling of a family, in the case fontconfig gives it.
        names << family.Name;
        TLoadedFace* face = FImpl->FaceOf(it.value(), false, false);
        if (face && face->HasVerticalForms) names << u'@' + family.Name;
    }
    names.removeDuplicates();
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

bool TFreeTypeFontEngine::IsInstalled(const QString& face) {
    std::lock_guard guard(FLock);
    const int family = FImpl->FamilyOf(face);
    if (family < 0) return false;
    if (!face.startsWith(u'@')) return true;
    TLoadedFace* loaded = FImpl->FaceOf(family, false, false);
    return loaded && loaded->HasVerticalForms;
}

int TFreeTypeFontEngine::Charset(const QString& face) {
    std::lock_guard guard(FLock);
    const int family = FImpl->FamilyOf(face);
    TLoadedFace* loaded = family < 0 ? nullptr : FImpl->FaceOf(family, false, false);
    return loaded ? loaded->Charset : kDefaultCharset;
}

QString TFreeTypeFontEngine::Resolve(const QString& face) {
    std::lock_guard guard(FLock);
    return FImpl->ResolveName(face);
}

TFontMetrics TFreeTypeFontEngine::Metrics(const TFontRequest& request) {
    std::lock_guard guard(FLock);
    TFontMetrics m;
    TLoadedFace* face = FImpl->MainFace(request);
    if (!face || request.PixelSize <= 0) return m;
    const double s = request.PixelSize / face->Units;
    m.Ascent = int32_t(Round(face->WinAscent * s));
    m.Descent = int32_t(Round(face->WinDescent * s));
    const double leading =
        face->HheaAscent + face->HheaDescent + face->LineGap - face->WinAscent - face->WinDescent;
    m.ExternalLeading = std::max<int32_t>(0, int32_t(Round(leading * s)));
    m.HasOutlineMetrics = face->HasOutlineMetrics;
    m.UnderlinePosition = int32_t(Round(face->UnderlinePosition * s));
    m.UnderlineSize = std::max<int32_t>(1, int32_t(Round(face->UnderlineSize * s)));
    m.StrikeOutPosition = int32_t(Round(face->StrikeOutPosition * s));
    m.StrikeOutSize = std::max<int32_t>(1, int32_t(Round(face->StrikeOutSize * s)));
    return m;
}

namespace {

// Japanese faces show the code page's 0x5C as the yen sign.
char32_t DisplayedChar(const TLoadedFace& face, char32_t c) {
    if (c == U'\\' && face.Charset == kShiftJisCharset && FT_Get_Char_Index(face.Face, 0xA5) != 0)
        return 0xA5;
    return c;
}

bool Upright(const TFontRequest& request, char32_t c) {
    return request.Vertical() && c <= 0xFFFF && cp932::IsDoubleByte(QChar(char16_t(c)));
}

} // namespace

// The glyph of a character and where its design units go in line coordinates.
struct TPlaced {
    TLoadedFace* Face = nullptr;
    uint32_t Index = 0;
    const TGlyph* Glyph = nullptr;
    bool Upright = false;
    double Scale = 0; // pixels per design unit
    QTransform DesignToLine;
};

static bool Place(TFreeTypeFontEngine::TImpl& impl, const TFontRequest& request, char32_t c, TPlaced& out) {
    TLoadedFace* main = impl.MainFace(request);
    if (!main || request.PixelSize <= 0) return false;
    c = DisplayedChar(*main, c);
    TLoadedFace* face = impl.FaceFor(main, c);
    const bool upright = Upright(request, c);
    out.Face = face;
    out.Index = impl.GlyphIndex(*face, c, upright);
    const TGlyph& g = impl.Glyph(*face, out.Index);
    out.Glyph = &g;
    const double s = request.PixelSize / face->Units;
    out.Upright = upright;
    out.Scale = s;
    // The cell's baseline and the column's centre come from the face the
    // text asked for, so fallback glyphs sit on the same line.
    const double ascent = double(Round(main->WinAscent * s));
    const double height = ascent + double(Round(main->WinDescent * s));
    if (upright) {
        // Upright in the column: the glyph's top at its top bearing down the
        // column, its box centred across the column:
        // along = vertBearingY + (yMax - y), across = height/2 - vertBearingX - (x - xMin).
        out.DesignToLine = QTransform(0, -s, -s, 0, (g.VertBearingY + g.YMax) * s,
                                      height / 2 - (g.VertBearingX - g.XMin) * s);
    } else {
        out.DesignToLine = QTransform(s, 0, 0, -s, 0, ascent);
    }
    return true;
}

TABC TFreeTypeFontEngine::CharABC(const TFontRequest& request, char32_t c) {
    std::lock_guard guard(FLock);
    TPlaced placed;
    if (!Place(*FImpl, request, c, placed)) return {};
    const TGlyph& g = *placed.Glyph;
    const double s = placed.Scale;
    TABC abc;
    const int32_t advance = int32_t(Round((placed.Upright ? g.VertAdvance : g.Advance) * s));
    if (!g.Empty) {
        abc.A = int32_t(Round((placed.Upright ? g.VertBearingY : g.XMin) * s));
        abc.B = int32_t(Round((placed.Upright ? g.YMax - g.YMin : g.XMax - g.XMin) * s));
    }
    abc.C = advance - abc.A - abc.B;
    return abc;
}

QPainterPath TFreeTypeFontEngine::Outline(const TFontRequest& request, char32_t c) {
    std::lock_guard guard(FLock);
    TPlaced placed;
    if (!Place(*FImpl, request, c, placed) || placed.Glyph->Empty) return {};
    return placed.DesignToLine.map(placed.Glyph->Path);
}

bool TFreeTypeFontEngine::GlyphSource(const TFontRequest& request, char32_t c, TGlyphSource& source) {
    std::lock_guard guard(FLock);
    TPlaced placed;
    if (!Place(*FImpl, request, c, placed) || placed.Face->SynthBold || placed.Face->SynthItalic)
        return false;
    source.File = placed.Face->File;
    source.Family = QString::fromUtf8(placed.Face->Face->family_name);
    source.FaceIndex = placed.Face->FaceIndex;
    source.Glyph = placed.Index;
    source.UnitsPerEm = placed.Face->Units;
    source.DesignToLine = placed.DesignToLine;
    return true;
}

} // namespace vellum
