// Any bytes read as a CSV file: every line parses without running away, a
// parsed row written back parses to the same fields (less the one trailing
// empty field a final comma cannot hold), the title moves out and back, and
// the file saved and read again gives the same lines.
#include "base/Exceptions.h"
#include "base/Stream.h"
#include "profile/CSVData.h"
#include "profile/CSVStringList.h"
#include "profile/ProfileCSV.h"

#include <cstdint>
#include <cstdlib>

using namespace vellum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TCSVData csv;
    {
        TMemoryStream in(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        csv.LoadFromStream(in);
    }
    const QStringList lines = csv.Lines().Items();
    for (int i = 0; i < csv.Count(); ++i) {
        const QStringList fields = csv.Row(i).Items();
        QStringList expected = fields;
        if (expected.size() > 1 && expected.back().isEmpty()) expected.removeLast();
        if (ParseCSVLine(CSVLine(fields)) != expected) std::abort();
    }
    if (csv.Count() > 0) {
        MappingByTitle(csv.Row(0).Items());
        csv.SetHasTitle(true);
        csv.SetHasTitle(false);
        if (csv.Lines().Items().size() != lines.size()) std::abort();
    }
    csv.AssignLines(lines);
    // Saved in the encoding it was read in, which holds everything read.
    TMemoryStream saved;
    csv.SaveToStream(saved);
    TCSVData back;
    saved.SetPosition(0);
    back.LoadFromStream(saved);
    // Empty lines at the very end are one CR LF each, so they come back too.
    if (back.Lines().Items() != lines) std::abort();
    return 0;
}
