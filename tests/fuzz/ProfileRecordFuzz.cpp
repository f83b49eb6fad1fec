// Any bytes read as a profile record either load or raise one of the
// program's errors; a loaded profile saves and loads again to the same
// values, identity and pictures, and saving that gives the same record.
#include "base/Exceptions.h"
#include "base/Stream.h"
#include "imaging/GraphicRegistry.h"
#include "imaging/PictureEx.h"
#include "profile/ProfileInfo2.h"

#include "../support/WrittenBytes.h"
#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace vellum;

namespace {

QByteArray Stored(const TPictureEx& picture) {
    return test::BytesWritten([&picture](TStream& s) { WritePictureToStream(picture, s); });
}

QByteArray Record(const TProfileInfo2& profile) {
    return test::BytesWritten([&profile](TStream& s) { profile.Save(s); });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    RegisterPictureFormats();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TProfileInfo2 profile;
    profile.SetCompressPictures(size % 2 == 1);
    try {
        TMemoryStream stream(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        profile.Load(stream, true);
    } catch (const Exception&) {
        return 0;
    }
    const QByteArray once = Record(profile);
    TProfileInfo2 back;
    back.SetCompressPictures(profile.CompressPictures());
    TMemoryStream stream(once);
    if (!back.Load(stream, true)) std::abort(); // a saved record is never of the older layout
    if (!back.SameProfile(profile)) std::abort();
    for (int i = 0; i < std::max(profile.ValueCount(), back.ValueCount()); ++i)
        if (back.GetValue(i) != profile.GetValue(i)) std::abort();
    if (Stored(back.Face()) != Stored(profile.Face()) || Stored(back.Mark()) != Stored(profile.Mark()))
        std::abort();
    if (Record(back) != once) std::abort();
    return 0;
}
