#include "platform/CompoundFile.h"

#include "base/Exceptions.h"
#include "base/Stream.h"
#include "platform/CompoundFileFormat.h"

#include <cstring>
#include <vector>

namespace vellum {
namespace {

using namespace cfb;

constexpr uint32_t kSectorSize = 512;
constexpr uint32_t kFatPerSector = kSectorSize / 4;
constexpr uint32_t kDifatPerSector = kFatPerSector - 1;

struct TOutEntry {
    const TCompoundNode* Node = nullptr;
    uint32_t Left = kNoStream, Right = kNoStream, Child = kNoStream;
    uint8_t Color = clBlack;
    uint32_t Start = kEndOfChain;
    uint64_t Size = 0;
};

uint32_t CeilDiv(uint64_t a, uint64_t b) { return uint32_t((a + b - 1) / b); }

// Links the sorted siblings entries[base .. base+count) into a balanced tree
// coloured as a valid red-black tree: every level is full except perhaps the
// deepest, whose nodes are red. Returns the tree's root.
uint32_t LinkSiblings(std::vector<TOutEntry>& entries, uint32_t base, uint32_t count) {
    if (count == 0) return kNoStream;
    int levels = 0;
    while ((uint64_t(1) << levels) - 1 < count) ++levels;
    const bool full = (uint64_t(1) << levels) - 1 == count;
    struct TRange {
        uint32_t Lo, Hi;
        int Depth;
        uint32_t* Link;
    };
    uint32_t top = kNoStream;
    std::vector<TRange> work{{0, count, 0, &top}};
    while (!work.empty()) {
        TRange r = work.back();
        work.pop_back();
        if (r.Lo >= r.Hi) continue;
        const uint32_t mid = r.Lo + (r.Hi - r.Lo) / 2;
        const uint32_t id = base + mid;
        *r.Link = id;
        entries[id].Color = !full && r.Depth == levels - 1 ? clRed : clBlack;
        work.push_back({r.Lo, mid, r.Depth + 1, &entries[id].Left});
        work.push_back({mid + 1, r.Hi, r.Depth + 1, &entries[id].Right});
    }
    return top;
}

void PutEntry(uint8_t* p, const TOutEntry& e, bool root) {
    const QString name = root ? QStringLiteral("Root Entry") : e.Node->Name();
    for (int i = 0; i < name.size(); ++i) PutLE16(p + dName + 2 * i, name[i].unicode());
    PutLE16(p + dNameLength, uint16_t((name.size() + 1) * 2));
    p[dType] = root ? etRoot : e.Node->IsStorage() ? etStorage : etStream;
    p[dColor] = e.Color;
    PutLE32(p + dLeft, e.Left);
    PutLE32(p + dRight, e.Right);
    PutLE32(p + dChild, e.Child);
    std::memcpy(p + dClsid, e.Node->Clsid.data(), 16);
    PutLE32(p + dStateBits, e.Node->StateBits);
    const bool storage = !root && e.Node->IsStorage();
    PutLE32(p + dStart, storage ? 0 : e.Start);
    PutLE64(p + dSize, storage ? 0 : e.Size);
}

} // namespace

QByteArray WriteCompoundFile(const TCompoundNode& root) {
    // Directory: breadth first, each storage's children numbered in sibling order.
    std::vector<TOutEntry> entries;
    entries.push_back({&root});
    for (size_t i = 0; i < entries.size(); ++i) {
        const TCompoundNode* node = entries[i].Node;
        if (!node->IsStorage()) continue;
        const auto base = uint32_t(entries.size());
        for (const auto& [key, child] : node->Children()) {
            TCompoundNode::CheckName(child->Name());
            entries.push_back({child.get()});
        }
        entries[i].Child = LinkSiblings(entries, base, uint32_t(entries.size() - base));
    }
    if (entries.size() > kMaxRegSect)
        throw EOleSysError(QStringLiteral("Too many elements"), stg::kMediumFull);

    // Sector layout: large streams, mini stream, mini FAT, directory, DIFAT, FAT.
    uint64_t sectors = 0;
    uint64_t miniSectors = 0;
    for (size_t i = 1; i < entries.size(); ++i) {
        TOutEntry& e = entries[i];
        if (!e.Node->IsStream()) continue;
        e.Size = uint64_t(e.Node->Data().size());
        if (e.Size == 0) continue;
        if (e.Size < kMiniStreamCutoff) {
            e.Start = uint32_t(miniSectors);
            miniSectors += CeilDiv(e.Size, kMiniSectorSize);
        } else {
            e.Start = uint32_t(sectors);
            sectors += CeilDiv(e.Size, kSectorSize);
        }
    }
    const uint64_t miniStreamBytes = miniSectors * kMiniSectorSize;
    const uint32_t miniStreamStart = uint32_t(sectors);
    const uint32_t miniStreamSectors = CeilDiv(miniStreamBytes, kSectorSize);
    const uint32_t miniFatStart = uint32_t(sectors + miniStreamSectors);
    const uint32_t miniFatSectors = CeilDiv(miniSectors, kFatPerSector);
    const uint32_t dirStart = miniFatStart + miniFatSectors;
    const uint32_t dirSectors = CeilDiv(entries.size(), kSectorSize / kDirEntrySize);
    const uint64_t data = uint64_t(dirStart) + dirSectors;
    uint64_t fatSectors = 0, difatSectors = 0;
    for (;;) {
        const uint64_t total = data + fatSectors + difatSectors;
        const uint64_t f = CeilDiv(total, kFatPerSector);
        const uint64_t x = f > kHeaderDifatEntries ? CeilDiv(f - kHeaderDifatEntries, kDifatPerSector) : 0;
        if (f == fatSectors && x == difatSectors) break;
        fatSectors = f;
        difatSectors = x;
    }
    const uint64_t total = data + difatSectors + fatSectors;
    if (total >= kMaxRegSect || (total + 1) * kSectorSize > uint64_t(INT64_MAX / 2))
        throw EOleSysError(QStringLiteral("The compound file would be too large"), stg::kMediumFull);
    const auto difatStart = uint32_t(data);
    const auto fatStart = uint32_t(data + difatSectors);
    entries[0].Start = miniSectors ? miniStreamStart : kEndOfChain;
    entries[0].Size = miniStreamBytes;

    QByteArray image(qsizetype((total + 1) * kSectorSize), '\0');
    auto sector = [&](uint64_t id) {
        return reinterpret_cast<uint8_t*>(image.data()) + (id + 1) * kSectorSize;
    };

    std::vector<uint32_t> fat(size_t(fatSectors * kFatPerSector), kFreeSect);
    auto chain = [&](std::vector<uint32_t>& table, uint32_t start, uint32_t count) {
        for (uint32_t k = 0; k < count; ++k) table[start + k] = k + 1 < count ? start + k + 1 : kEndOfChain;
    };
    std::vector<uint32_t> miniFat(size_t(miniFatSectors) * kFatPerSector, kFreeSect);
    for (size_t i = 1; i < entries.size(); ++i) {
        const TOutEntry& e = entries[i];
        if (!e.Node->IsStream() || e.Size == 0) continue;
        const QByteArray& bytes = e.Node->Data();
        if (e.Size < kMiniStreamCutoff) {
            chain(miniFat, e.Start, CeilDiv(e.Size, kMiniSectorSize));
            std::memcpy(sector(miniStreamStart) + uint64_t(e.Start) * kMiniSectorSize, bytes.constData(),
                        size_t(e.Size));
        } else {
            chain(fat, e.Start, CeilDiv(e.Size, kSectorSize));
            std::memcpy(sector(e.Start), bytes.constData(), size_t(e.Size));
        }
    }
    chain(fat, miniStreamStart, miniStreamSectors);
    chain(fat, miniFatStart, miniFatSectors);
    chain(fat, dirStart, dirSectors);
    for (uint64_t k = 0; k < difatSectors; ++k) fat[size_t(difatStart + k)] = kDifSect;
    for (uint64_t k = 0; k < fatSectors; ++k) fat[size_t(fatStart + k)] = kFatSect;

    for (size_t k = 0; k < miniFat.size(); ++k) PutLE32(sector(miniFatStart) + 4 * k, miniFat[k]);
    for (size_t i = 0; i < entries.size(); ++i)
        PutEntry(sector(dirStart) + i * kDirEntrySize, entries[i], i == 0);
    for (size_t i = entries.size(); i < size_t(dirSectors) * (kSectorSize / kDirEntrySize); ++i) {
        uint8_t* p = sector(dirStart) + i * kDirEntrySize;
        PutLE32(p + dLeft, kNoStream);
        PutLE32(p + dRight, kNoStream);
        PutLE32(p + dChild, kNoStream);
    }
    for (size_t k = 0; k < fat.size(); ++k) PutLE32(sector(fatStart) + 4 * k, fat[k]);

    auto header = reinterpret_cast<uint8_t*>(image.data());
    std::memcpy(header, kSignature, sizeof kSignature);
    PutLE16(header + hMinorVersion, 0x003E);
    PutLE16(header + hMajorVersion, 3);
    PutLE16(header + hByteOrder, 0xFFFE);
    PutLE16(header + hSectorShift, 9);
    PutLE16(header + hMiniSectorShift, 6);
    PutLE32(header + hNumFatSectors, uint32_t(fatSectors));
    PutLE32(header + hFirstDirSector, dirStart);
    PutLE32(header + hMiniCutoff, kMiniStreamCutoff);
    PutLE32(header + hFirstMiniFat, miniFatSectors ? miniFatStart : kEndOfChain);
    PutLE32(header + hNumMiniFat, miniFatSectors);
    PutLE32(header + hFirstDifat, difatSectors ? difatStart : kEndOfChain);
    PutLE32(header + hNumDifat, uint32_t(difatSectors));
    // FAT sector numbers: 109 in the header, the rest in the DIFAT sectors.
    for (uint64_t k = 0; k < uint64_t(kHeaderDifatEntries) + difatSectors * kDifatPerSector; ++k) {
        const uint32_t value = k < fatSectors ? uint32_t(fatStart + k) : kFreeSect;
        if (k < uint64_t(kHeaderDifatEntries)) {
            PutLE32(header + hDifat + 4 * k, value);
        } else {
            const uint64_t j = k - kHeaderDifatEntries;
            PutLE32(sector(difatStart + j / kDifatPerSector) + 4 * (j % kDifatPerSector), value);
        }
    }
    for (uint64_t d = 0; d < difatSectors; ++d)
        PutLE32(sector(difatStart + d) + 4 * kDifatPerSector,
                d + 1 < difatSectors ? uint32_t(difatStart + d + 1) : kEndOfChain);
    return image;
}

} // namespace vellum
