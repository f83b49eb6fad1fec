// Any bytes as a profile database file: it opens or is refused with the
// program's errors; an opened one reads every record or refuses it, takes a
// new profile, and holds it after being closed and opened again.
#include "base/Exceptions.h"
#include "imaging/GraphicRegistry.h"
#include "profile/ProfileDB2.h"
#include "profile/ProfileInfo2.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace vellum;

namespace {

// Records read per input: enough to reach the interesting ones, bounded time.
constexpr int kMaxRecords = 64;

QString FileName() {
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("fuzz.mdp"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    RegisterPictureFormats();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString name = FileName();
    {
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    TProfileDB2 db;
    db.SetFileName(name);
    try {
        db.Open();
    } catch (const Exception&) {
        return 0;
    }
    TProfileInfo2 p;
    for (int i = 0; i < std::min(db.Count(), kMaxRecords); ++i) {
        try {
            db.Read(i, p);
        } catch (const Exception&) {
        }
    }
    const int count = db.Count();
    TProfileInfo2 added;
    added.Clear();
    added.SetValue(1, QStringLiteral("追加"));
    try {
        db.Add(added);
        db.Close();
        db.Open();
    } catch (const EOleSysError&) {
        return 0; // a file the codec cannot write back (names, sizes) stays as it was
    }
    if (db.Count() != count + 1) std::abort();
    db.ReadHeader(count, p);
    if (!p.SameProfile(added) || p.GetValue(1) != added.GetValue(1)) std::abort();
    return 0;
}
