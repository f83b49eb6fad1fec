#include "platform/CompoundFile.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Stream.h"
#include "platform/CompoundFileFormat.h"

#include <cstring>
#include <vector>

namespace vellum {
namespace {

using namespace cfb;

[[noreturn]] void Damaged(const QString& what) {
    throw ECompoundFile(QStringLiteral("The compound file is damaged: ") + what);
}

class TReader {
public:
    explicit TReader(QByteArrayView image) : FImage(image) {}
    std::shared_ptr<TCompoundNode> Read();

private:
    struct TEntry {
        QString Name;
        uint8_t Type = 0;
        uint32_t Left = kNoStream, Right = kNoStream, Child = kNoStream;
        uint32_t Start = 0;
        uint64_t Size = 0;
        std::array<uint8_t, 16> Clsid{};
        uint32_t StateBits = 0;
    };

    void ReadHeader();
    void ReadFat();
    void ReadDirectory();
    void ReadMiniStream();
    std::shared_ptr<TCompoundNode> BuildTree();
    void ReadStreamData(const TEntry& entry, uint32_t id, QByteArray& data);

    // A pointer to sector id; the last sector of the file may be short and reads as zero-padded.
    const uint8_t* Sector(uint32_t id);
    // The sectors of a FAT chain; each sector may belong to one chain only.
    // what() names the chain's owner; it is called only for a message.
    template <class F>
    std::vector<uint32_t> Chain(uint32_t start, F what);
    template <class F>
    std::vector<uint32_t> MiniChain(uint32_t start, F what);
    QString EntryLabel(uint32_t id) const;

    QByteArrayView FImage;
    uint8_t FHeader[kHeaderSize];
    int FVersion = 3;
    uint32_t FSectorSize = 512;
    uint32_t FSectorCount = 0;
    QByteArray FPadded; // the short last sector, zero-padded
    std::vector<uint32_t> FFat;
    std::vector<uint8_t> FUsed; // sectors already taken by a chain or the FAT itself
    std::vector<TEntry> FEntries;
    std::vector<uint32_t> FMiniFat;
    std::vector<uint8_t> FMiniUsed;
    QByteArray FMiniStream;
};

const uint8_t* TReader::Sector(uint32_t id) {
    const qsizetype offset = qsizetype(id + 1) * FSectorSize;
    const auto base = reinterpret_cast<const uint8_t*>(FImage.data());
    if (offset + qsizetype(FSectorSize) <= FImage.size()) return base + offset;
    if (FPadded.isEmpty()) {
        FPadded = QByteArray(qsizetype(FSectorSize), '\0');
        std::memcpy(FPadded.data(), base + offset, size_t(FImage.size() - offset));
    }
    return reinterpret_cast<const uint8_t*>(FPadded.constData());
}

QString TReader::EntryLabel(uint32_t id) const {
    if (id < FEntries.size() && !FEntries[id].Name.isEmpty())
        return Format(QStringLiteral("directory entry %d (\"%s\")"), int64_t(id), FEntries[id].Name);
    return Format(QStringLiteral("directory entry %d"), int64_t(id));
}

void TReader::ReadHeader() {
    if (FImage.size() < kHeaderSize)
        Damaged(Format(QStringLiteral("the file has %d bytes, fewer than the 512-byte header"),
                       int64_t(FImage.size())));
    std::memcpy(FHeader, FImage.data(), kHeaderSize);
    if (std::memcmp(FHeader, kSignature, sizeof kSignature) != 0)
        Damaged(QStringLiteral("the signature is missing"));
    const unsigned major = GetLE16(FHeader + hMajorVersion);
    if (major != 3 && major != 4) Damaged(Format(QStringLiteral("unknown major version %d"), major));
    FVersion = int(major);
    if (GetLE16(FHeader + hByteOrder) != 0xFFFE) Damaged(QStringLiteral("the byte order mark is wrong"));
    const unsigned shift = GetLE16(FHeader + hSectorShift);
    if (shift != (major == 3 ? 9u : 12u))
        Damaged(Format(QStringLiteral("sector shift %d does not fit version %d"), shift, major));
    if (GetLE16(FHeader + hMiniSectorShift) != 6) Damaged(QStringLiteral("the mini sector shift is not 6"));
    if (GetLE32(FHeader + hMiniCutoff) != kMiniStreamCutoff)
        Damaged(QStringLiteral("the mini stream cutoff is not 4096"));
    FSectorSize = 1u << shift;
    if (FImage.size() < qsizetype(FSectorSize))
        Damaged(QStringLiteral("the file ends inside the header sector"));
    const int64_t count = (int64_t(FImage.size()) - FSectorSize + FSectorSize - 1) / FSectorSize;
    if (count > int64_t(kMaxRegSect)) Damaged(QStringLiteral("the file has too many sectors"));
    FSectorCount = uint32_t(count);
    FUsed.assign(FSectorCount, 0);
}

void TReader::ReadFat() {
    const uint32_t numFat = GetLE32(FHeader + hNumFatSectors);
    const uint32_t numDifat = GetLE32(FHeader + hNumDifat);
    if (numFat == 0) Damaged(QStringLiteral("the file has no FAT"));
    if (numFat > FSectorCount)
        Damaged(Format(QStringLiteral("the header claims %d FAT sectors but the file has %d sectors"),
                       int64_t(numFat), int64_t(FSectorCount)));
    if (numDifat > FSectorCount)
        Damaged(Format(QStringLiteral("the header claims %d DIFAT sectors but the file has %d sectors"),
                       int64_t(numDifat), int64_t(FSectorCount)));

    std::vector<uint32_t> fatSectors;
    fatSectors.reserve(numFat);
    auto takeFatSector = [&](uint32_t id) {
        if (id >= FSectorCount)
            Damaged(Format(QStringLiteral("FAT sector %d lies outside the file"), int64_t(id)));
        if (FUsed[id]) Damaged(Format(QStringLiteral("FAT sector %d is listed twice"), int64_t(id)));
        FUsed[id] = 1;
        fatSectors.push_back(id);
    };
    for (int i = 0; i < kHeaderDifatEntries && fatSectors.size() < numFat; ++i)
        takeFatSector(GetLE32(FHeader + hDifat + 4 * i));

    uint32_t difat = GetLE32(FHeader + hFirstDifat);
    uint32_t difatSeen = 0;
    const uint32_t perDifat = FSectorSize / 4 - 1;
    while (fatSectors.size() < numFat) {
        if (difat == kEndOfChain || difat == kFreeSect)
            Damaged(Format(QStringLiteral("the DIFAT ends after %d of %d FAT sectors"),
                           int64_t(fatSectors.size()), int64_t(numFat)));
        if (difat >= FSectorCount)
            Damaged(Format(QStringLiteral("DIFAT sector %d lies outside the file"), int64_t(difat)));
        if (FUsed[difat])
            Damaged(Format(QStringLiteral("the DIFAT chain loops at sector %d"), int64_t(difat)));
        if (++difatSeen > numDifat) Damaged(QStringLiteral("the DIFAT is longer than the header says"));
        FUsed[difat] = 1;
        const uint8_t* p = Sector(difat);
        for (uint32_t i = 0; i < perDifat && fatSectors.size() < numFat; ++i)
            takeFatSector(GetLE32(p + 4 * i));
        difat = GetLE32(p + 4 * perDifat);
    }

    const uint32_t perSector = FSectorSize / 4;
    FFat.resize(size_t(numFat) * perSector);
    for (size_t i = 0; i < fatSectors.size(); ++i) {
        const uint8_t* p = Sector(fatSectors[i]);
        for (uint32_t j = 0; j < perSector; ++j) FFat[i * perSector + j] = GetLE32(p + 4 * j);
    }
}

template <class F>
std::vector<uint32_t> TReader::Chain(uint32_t start, F what) {
    std::vector<uint32_t> chain;
    for (uint32_t id = start; id != kEndOfChain;) {
        if (id >= FSectorCount)
            Damaged(Format(QStringLiteral("the chain of %s points to sector %d outside the file"), what(),
                           int64_t(id)));
        if (id >= FFat.size()) Damaged(Format(QStringLiteral("sector %d has no FAT entry"), int64_t(id)));
        if (FUsed[id])
            Damaged(Format(QStringLiteral("the chain of %s loops or crosses another at sector %d"), what(),
                           int64_t(id)));
        FUsed[id] = 1;
        chain.push_back(id);
        id = FFat[id];
    }
    return chain;
}

template <class F>
std::vector<uint32_t> TReader::MiniChain(uint32_t start, F what) {
    std::vector<uint32_t> chain;
    for (uint32_t id = start; id != kEndOfChain;) {
        if (id >= FMiniUsed.size() || id >= FMiniFat.size())
            Damaged(Format(QStringLiteral(
                               "the mini chain of %s points to mini sector %d outside the mini stream"),
                           what(), int64_t(id)));
        if (FMiniUsed[id])
            Damaged(Format(QStringLiteral("the mini chain of %s loops or crosses another at mini sector %d"),
                           what(), int64_t(id)));
        FMiniUsed[id] = 1;
        chain.push_back(id);
        id = FMiniFat[id];
    }
    return chain;
}

void TReader::ReadDirectory() {
    const std::vector<uint32_t> chain =
        Chain(GetLE32(FHeader + hFirstDirSector), [] { return QStringLiteral("the directory"); });
    if (chain.empty()) Damaged(QStringLiteral("the directory is empty"));
    const uint32_t perSector = FSectorSize / kDirEntrySize;
    FEntries.resize(chain.size() * perSector);
    for (size_t s = 0; s < chain.size(); ++s) {
        const uint8_t* sector = Sector(chain[s]);
        for (uint32_t k = 0; k < perSector; ++k) {
            const uint32_t id = uint32_t(s * perSector + k);
            const uint8_t* p = sector + k * kDirEntrySize;
            TEntry& e = FEntries[id];
            e.Type = p[dType];
            if (e.Type == etUnused) continue;
            if (e.Type != etStorage && e.Type != etStream && e.Type != etRoot)
                Damaged(Format(QStringLiteral("%s has unknown type %d"), EntryLabel(id), p[dType]));
            const unsigned nameBytes = GetLE16(p + dNameLength);
            if (nameBytes < 4 || nameBytes > 64 || nameBytes % 2 != 0)
                Damaged(
                    Format(QStringLiteral("%s has a name length of %d bytes"), EntryLabel(id), nameBytes));
            e.Name.resize(nameBytes / 2 - 1);
            for (int i = 0; i < e.Name.size(); ++i) e.Name[i] = QChar(GetLE16(p + dName + 2 * i));
            e.Left = GetLE32(p + dLeft);
            e.Right = GetLE32(p + dRight);
            e.Child = GetLE32(p + dChild);
            std::memcpy(e.Clsid.data(), p + dClsid, 16);
            e.StateBits = GetLE32(p + dStateBits);
            e.Start = GetLE32(p + dStart);
            // Version 3 writers were allowed to leave the upper half of the size undefined.
            e.Size = FVersion == 3 ? GetLE32(p + dSize) : GetLE64(p + dSize);
        }
    }
    if (FEntries[0].Type != etRoot) Damaged(QStringLiteral("the first directory entry is not the root"));
    for (size_t id = 1; id < FEntries.size(); ++id)
        if (FEntries[id].Type == etRoot)
            Damaged(Format(QStringLiteral("%s is a second root"), EntryLabel(uint32_t(id))));
}

void TReader::ReadMiniStream() {
    const TEntry& root = FEntries[0];
    const uint32_t numMiniFat = GetLE32(FHeader + hNumMiniFat);
    const uint32_t firstMiniFat = GetLE32(FHeader + hFirstMiniFat);
    if (numMiniFat > FSectorCount)
        Damaged(QStringLiteral("the header claims more mini FAT sectors than the file has"));
    if (numMiniFat > 0 || (firstMiniFat != kEndOfChain && firstMiniFat != kFreeSect)) {
        const std::vector<uint32_t> chain =
            Chain(firstMiniFat, [] { return QStringLiteral("the mini FAT"); });
        const uint32_t perSector = FSectorSize / 4;
        FMiniFat.resize(chain.size() * perSector);
        for (size_t s = 0; s < chain.size(); ++s) {
            const uint8_t* p = Sector(chain[s]);
            for (uint32_t j = 0; j < perSector; ++j) FMiniFat[s * perSector + j] = GetLE32(p + 4 * j);
        }
    }
    if (root.Size == 0) return;
    if (root.Size > uint64_t(FImage.size()))
        Damaged(Format(QStringLiteral("the mini stream claims %d bytes, more than the file"),
                       int64_t(root.Size)));
    const std::vector<uint32_t> chain = Chain(root.Start, [] { return QStringLiteral("the mini stream"); });
    if (uint64_t(chain.size()) * FSectorSize < root.Size)
        Damaged(QStringLiteral("the mini stream is shorter than the root entry says"));
    // Whole mini sectors: a last one cut short by the root's size reads as zero-padded.
    const uint64_t padded = (root.Size + kMiniSectorSize - 1) / kMiniSectorSize * kMiniSectorSize;
    FMiniStream = QByteArray(qsizetype(padded), '\0');
    for (size_t s = 0; s * FSectorSize < root.Size; ++s) {
        const uint64_t at = uint64_t(s) * FSectorSize;
        std::memcpy(FMiniStream.data() + at, Sector(chain[s]),
                    size_t(std::min<uint64_t>(FSectorSize, root.Size - at)));
    }
    FMiniUsed.assign(size_t(padded / kMiniSectorSize), 0);
}

void TReader::ReadStreamData(const TEntry& entry, uint32_t id, QByteArray& data) {
    if (entry.Size == 0) return;
    auto what = [this, id] { return EntryLabel(id); };
    if (entry.Size > uint64_t(FImage.size()))
        Damaged(
            Format(QStringLiteral("%s claims %d bytes, more than the file"), what(), int64_t(entry.Size)));
    if (entry.Size > uint64_t(INT32_MAX)) Damaged(Format(QStringLiteral("%s is too large"), what()));
    if (entry.Size < kMiniStreamCutoff) {
        const std::vector<uint32_t> chain = MiniChain(entry.Start, what);
        if (uint64_t(chain.size()) * kMiniSectorSize < entry.Size)
            Damaged(Format(QStringLiteral("the mini chain of %s is shorter than its size"), what()));
        data = QByteArray(qsizetype(entry.Size), Qt::Uninitialized);
        for (size_t s = 0; s * kMiniSectorSize < entry.Size; ++s) {
            const uint64_t at = uint64_t(s) * kMiniSectorSize;
            std::memcpy(data.data() + at, FMiniStream.constData() + qsizetype(chain[s]) * kMiniSectorSize,
                        size_t(std::min<uint64_t>(kMiniSectorSize, entry.Size - at)));
        }
        return;
    }
    const std::vector<uint32_t> chain = Chain(entry.Start, what);
    if (uint64_t(chain.size()) * FSectorSize < entry.Size)
        Damaged(Format(QStringLiteral("the chain of %s is shorter than its size"), what()));
    data = QByteArray(qsizetype(entry.Size), Qt::Uninitialized);
    for (size_t s = 0; s * FSectorSize < entry.Size; ++s) {
        const uint64_t at = uint64_t(s) * FSectorSize;
        std::memcpy(data.data() + at, Sector(chain[s]),
                    size_t(std::min<uint64_t>(FSectorSize, entry.Size - at)));
    }
}

std::shared_ptr<TCompoundNode> TReader::BuildTree() {
    auto root = TCompoundNode::NewRoot();
    root->Clsid = FEntries[0].Clsid;
    root->StateBits = FEntries[0].StateBits;
    std::vector<uint8_t> seen(FEntries.size(), 0);
    seen[0] = 1;
    // Each item: an entry of a sibling tree and the storage it belongs to.
    std::vector<std::pair<uint32_t, TCompoundNode*>> work;
    work.emplace_back(FEntries[0].Child, root.get());
    while (!work.empty()) {
        auto [id, parent] = work.back();
        work.pop_back();
        if (id == kNoStream) continue;
        if (id >= FEntries.size())
            Damaged(Format(QStringLiteral("a directory link points to entry %d outside the directory"),
                           int64_t(id)));
        if (seen[id]) Damaged(Format(QStringLiteral("%s is linked more than once"), EntryLabel(id)));
        seen[id] = 1;
        const TEntry& e = FEntries[id];
        if (e.Type != etStorage && e.Type != etStream)
            Damaged(Format(QStringLiteral("a directory link points to unused %s"), EntryLabel(id)));
        const QString problem = TCompoundNode::NameProblem(e.Name);
        if (!problem.isEmpty()) Damaged(problem);
        if (parent->Child(e.Name))
            Damaged(Format(QStringLiteral("the name \"%s\" occurs twice in one storage"), e.Name));
        auto node = parent->AddChild(e.Type == etStorage ? TCompoundNode::TKind::Storage
                                                         : TCompoundNode::TKind::Stream,
                                     e.Name);
        node->Clsid = e.Clsid;
        node->StateBits = e.StateBits;
        if (e.Type == etStream) {
            if (e.Child != kNoStream)
                Damaged(Format(QStringLiteral("stream %s has children"), EntryLabel(id)));
            ReadStreamData(e, id, node->Data());
        } else {
            work.emplace_back(e.Child, node.get());
        }
        work.emplace_back(e.Left, parent);
        work.emplace_back(e.Right, parent);
    }
    for (size_t id = 1; id < FEntries.size(); ++id)
        if (FEntries[id].Type != etUnused && !seen[id])
            Damaged(Format(QStringLiteral("%s cannot be reached from the root"), EntryLabel(uint32_t(id))));
    return root;
}

std::shared_ptr<TCompoundNode> TReader::Read() {
    ReadHeader();
    ReadFat();
    ReadDirectory();
    ReadMiniStream();
    return BuildTree();
}

} // namespace

std::shared_ptr<TCompoundNode> ReadCompoundFile(QByteArrayView image) { return TReader(image).Read(); }

} // namespace vellum
