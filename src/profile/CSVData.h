#pragma once
// A comma-separated file in memory: its lines kept as text, one row parsed
// at a time (edits to the row go back into its line), and an optional title
// line kept apart from the data.

#include "profile/CSVStringList.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace vellum {

class TStream;

// Files are in the Japanese code page unless they start with a UTF-8
// byte-order mark; a UTF-8 file is written with the mark.
enum class TCSVEncoding { Cp932, Utf8 };

class TCSVDataBase {
public:
    virtual ~TCSVDataBase() = default;
};

class TCSVData : public TCSVDataBase {
public:
    using TCompare = std::function<int(const QString& a, const QString& b)>;

    TCSVData();
    ~TCSVData() override;
    TCSVData(const TCSVData&) = delete;
    TCSVData& operator=(const TCSVData&) = delete;

    virtual TStringList& Lines() { return FLines; }
    virtual void AssignLines(const QStringList& source);
    // The parsed line i, valid until the next Row; raises ECSVDataBase
    // "Out Of Index" outside the lines.
    virtual TCSVStringList& Row(int i);
    virtual void SetRow(int i, const QStringList& fields);
    // Title line (when kept) and lines, each ending in CR LF. Raises
    // EEncodingError for a character the code page cannot store.
    virtual void SaveToStream(TStream& stream);
    // Reads every line; with a title kept and more than one line, the first
    // becomes the title.
    virtual void LoadFromStream(TStream& stream);
    // By one column, a missing column counting as empty.
    virtual void Sort(int column);
    // The first line whose column compares equal to value, -1 when none.
    virtual int Find(int column, const QString& value);

    bool HasTitle() const { return FHasTitle; }
    // True moves the first line into the title; false puts the title back as the first line.
    void SetHasTitle(bool hasTitle);
    const TCSVStringList& Title() const { return FTitle; }
    void SetTitle(const QStringList& names);
    int MaxColumnCount();
    int Count() const { return FLines.Count(); }

    bool Changed() const { return FChanged; }
    TCSVEncoding Encoding() const { return FEncoding; }
    void SetEncoding(TCSVEncoding encoding) { FEncoding = encoding; }
    // Unset: ordinal, case-sensitive.
    TCompare OnCompare;

private:
    class TLines : public TStringList {
    public:
        explicit TLines(TCSVData& owner) : FOwner(owner) {}

    protected:
        void Changed() override { FOwner.FChanged = true; }

    private:
        TCSVData& FOwner;
    };

    void CheckIndex(int i, const char* message) const;
    int Compare(const QString& a, const QString& b) const;

    TLines FLines;
    TCSVStringList FRow;
    int FRowIndex = -1;
    TCSVStringList FTitle;
    bool FHasTitle = false;
    bool FChanged = false;
    TCSVEncoding FEncoding = TCSVEncoding::Cp932;
};

} // namespace vellum
