#pragma once
// Constants of the compound file binary format shared by its reader and writer.

#include <cstdint>

namespace vellum::cfb {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr uint32_t kMaxRegSect = 0xFFFFFFFAu;
constexpr uint32_t kDifSect = 0xFFFFFFFCu;
constexpr uint32_t kFatSect = 0xFFFFFFFDu;
constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kFreeSect = 0xFFFFFFFFu;
constexpr uint32_t kNoStream = 0xFFFFFFFFu;

constexpr int kHeaderSize = 512;
constexpr int kHeaderDifatEntries = 109;
constexpr int kDirEntrySize = 128;
constexpr int kMiniSectorSize = 64;
constexpr uint32_t kMiniStreamCutoff = 4096;

enum TEntryType : uint8_t { etUnused = 0, etStorage = 1, etStream = 2, etRoot = 5 };
enum TColor : uint8_t { clRed = 0, clBlack = 1 };

// Header field offsets.
constexpr int hMinorVersion = 0x18;
constexpr int hMajorVersion = 0x1A;
constexpr int hByteOrder = 0x1C;
constexpr int hSectorShift = 0x1E;
constexpr int hMiniSectorShift = 0x20;
constexpr int hNumDirSectors = 0x28;
constexpr int hNumFatSectors = 0x2C;
constexpr int hFirstDirSector = 0x30;
constexpr int hTransaction = 0x34;
constexpr int hMiniCutoff = 0x38;
constexpr int hFirstMiniFat = 0x3C;
constexpr int hNumMiniFat = 0x40;
constexpr int hFirstDifat = 0x44;
constexpr int hNumDifat = 0x48;
constexpr int hDifat = 0x4C;

// Directory entry field offsets.
constexpr int dName = 0x00;
constexpr int dNameLength = 0x40;
constexpr int dType = 0x42;
constexpr int dColor = 0x43;
constexpr int dLeft = 0x44;
constexpr int dRight = 0x48;
constexpr int dChild = 0x4C;
constexpr int dClsid = 0x50;
constexpr int dStateBits = 0x60;
constexpr int dCreated = 0x64;
constexpr int dModified = 0x6C;
constexpr int dStart = 0x74;
constexpr int dSize = 0x78;

} // namespace vellum::cfb
