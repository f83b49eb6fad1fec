#!/usr/bin/env python3
"""Writes the seed corpus of the compound-file fuzz target: a few small valid
files (versions 3 and 4, balanced and degenerate sibling trees) and damaged
variants of them (truncations, loops, crossed chains, huge counts, bad links).
Run it from anywhere; it rewrites corpus/compound_file/."""
import os
import shutil
import struct

FREE, END, FATSECT, NOSTREAM = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFF
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, 'corpus', 'compound_file')


class Layout:
    """A file with sectors: 0 FAT, 1.. directory, then mini FAT, mini stream, big stream."""

    def __init__(self, version=3, entries=None, mini=b'', big=b''):
        self.version = version
        self.ss = 512 if version == 3 else 4096
        self.entries = entries
        self.mini = mini
        self.big = big

    def build(self):
        ss = self.ss
        per_dir = ss // 128
        dir_sectors = (len(self.entries) + per_dir - 1) // per_dir
        sectors = []  # (kind, payload)
        fat = []
        def chain(n):
            start = len(fat)
            for i in range(n):
                fat.append(start + i + 1 if i + 1 < n else END)
            return start
        fat.append(FATSECT)
        self.dir_start = chain(dir_sectors)
        mini_sectors = (len(self.mini) + 63) // 64
        self.minifat_start = chain(1) if mini_sectors else END
        self.mini_start = chain((len(self.mini) + ss - 1) // ss) if self.mini else END
        self.big_start = chain((len(self.big) + ss - 1) // ss) if self.big else END
        fat += [FREE] * (ss // 4 - len(fat))
        out = bytearray(ss * (1 + len(fat) - fat.count(FREE)))
        def sector(i):
            return (i + 1) * ss
        hdr = bytearray(512)
        hdr[0:8] = bytes.fromhex('D0CF11E0A1B11AE1')
        struct.pack_into('<HHHHH', hdr, 0x18, 0x3E, self.version, 0xFFFE, 9 if self.version == 3 else 12, 6)
        struct.pack_into('<IIIIIIIIII', hdr, 0x28, dir_sectors if self.version == 4 else 0, 1, self.dir_start, 0,
                         4096, self.minifat_start, 1 if mini_sectors else 0, END, 0, 0)
        for i in range(1, 109):
            struct.pack_into('<I', hdr, 0x4C + 4 * i, FREE)
        out[0:512] = hdr
        struct.pack_into('<%dI' % (ss // 4), out, sector(0), *fat)
        for i in range(dir_sectors * per_dir):
            e = self.entries[i] if i < len(self.entries) else None
            off = sector(self.dir_start + i // per_dir) + (i % per_dir) * 128
            if e is None:
                struct.pack_into('<III', out, off + 0x44, NOSTREAM, NOSTREAM, NOSTREAM)
                continue
            name, typ, left, right, child, start, size = e
            raw = name.encode('utf-16-le')
            out[off:off + len(raw)] = raw
            struct.pack_into('<HBB', out, off + 0x40, len(raw) + 2, typ, 1)
            struct.pack_into('<III', out, off + 0x44, left, right, child)
            struct.pack_into('<IQ', out, off + 0x74, start, size)
        if mini_sectors:
            mf = [i + 1 for i in range(mini_sectors)]
            mf[-1] = END
            mf += [FREE] * (ss // 4 - len(mf))
            struct.pack_into('<%dI' % (ss // 4), out, sector(self.minifat_start), *mf)
            out[sector(self.mini_start):sector(self.mini_start) + len(self.mini)] = self.mini
        if self.big:
            out[sector(self.big_start):sector(self.big_start) + len(self.big)] = self.big
        return out


def sample(version=3):
    """Root, storage "Sub" holding mini stream "small"; big stream "large" beside it."""
    mini = bytes(range(200))
    big = bytes((i * 7) & 0xFF for i in range(5000))
    lay = Layout(version, None, mini, big)
    lay.entries = [
        ('Root Entry', 5, NOSTREAM, NOSTREAM, 1, 0, 256),
        ('Sub', 1, NOSTREAM, 2, 3, 0, 0),
        ('large', 2, NOSTREAM, NOSTREAM, NOSTREAM, 0, len(big)),
        ('small', 2, NOSTREAM, NOSTREAM, NOSTREAM, 0, len(mini)),
    ]
    lay.build()  # fixes the sector numbers
    lay.entries[0] = ('Root Entry', 5, NOSTREAM, NOSTREAM, 1, lay.mini_start, 256)
    lay.entries[2] = ('large', 2, NOSTREAM, NOSTREAM, NOSTREAM, lay.big_start, len(big))
    return lay, lay.build()


def chain_tree(n):
    """A root with n mini streams linked as one right-leaning chain (valid, unbalanced)."""
    entries = [('Root Entry', 5, NOSTREAM, NOSTREAM, 1, 0, 64 * n)]
    for i in range(n):
        entries.append(('s%03d' % i, 2, NOSTREAM, i + 2 if i + 1 < n else NOSTREAM, NOSTREAM, i, 10))
    lay = Layout(3, entries, bytes(64 * n))
    lay.build()
    entries[0] = ('Root Entry', 5, NOSTREAM, NOSTREAM, 1, lay.mini_start, 64 * n)
    # each stream is its own one-sector mini chain
    data = lay.build()
    ss = 512
    mf_off = (lay.minifat_start + 1) * ss
    struct.pack_into('<%dI' % n, data, mf_off, *([END] * n))
    return data


def entry_off(lay, i):
    return (lay.dir_start + 1) * lay.ss + i * 128


def main():
    shutil.rmtree(OUT, ignore_errors=True)
    os.makedirs(OUT)
    files = {}
    lay, base = sample(3)
    lay4, base4 = sample(4)
    files['valid_v3'] = base
    files['valid_v4'] = base4
    files['valid_chain_tree'] = chain_tree(40)
    files['valid_empty_root'] = Layout(3, [('Root Entry', 5, NOSTREAM, NOSTREAM, NOSTREAM, END, 0)]).build()

    def mutate(name, data, *patches):
        d = bytearray(data)
        for off, fmt, value in patches:
            struct.pack_into(fmt, d, off, value)
        files[name] = d

    for n in (0, 8, 100, 511, 512, 700, len(base) // 2, len(base) - 513):
        files['cut_%d' % n] = base[:n]
    files['cut_v4'] = base4[:4096 + 1000]
    e = lambda i: entry_off(lay, i)
    fat = lambda s: 512 + 4 * s
    mutate('bad_signature', base, (0, '<I', 0x12345678))
    mutate('bad_version', base, (0x1A, '<H', 7))
    mutate('bad_sector_shift', base, (0x1E, '<H', 16))
    mutate('v4_with_v3_shift', base4, (0x1E, '<H', 9))
    mutate('huge_fat_count', base, (0x2C, '<I', 0xFFFFFFF0))
    mutate('huge_difat_count', base, (0x48, '<I', 0x7FFFFFFF))
    mutate('huge_minifat_count', base, (0x40, '<I', 0x7FFFFFFF))
    mutate('difat_outside', base, (0x2C, '<I', 110), (0x44, '<I', 0x7FFFFFF0), (0x48, '<I', 1))
    mutate('fat_sector_outside', base, (0x4C, '<I', 100000))
    mutate('dir_loop', base, (fat(lay.dir_start), '<I', lay.dir_start))
    mutate('big_chain_loop', base, (fat(lay.big_start + 5), '<I', lay.big_start + 1))
    mutate('big_chain_cut', base, (fat(lay.big_start + 2), '<I', END))
    mutate('big_chain_free', base, (fat(lay.big_start + 2), '<I', FREE))
    mutate('big_crosses_dir', base, (e(2) + 0x74, '<I', lay.dir_start))
    mutate('big_size_huge', base, (e(2) + 0x78, '<I', 0xFFFFFF00))
    mutate('v4_size_huge', base4, (entry_off(lay4, 2) + 0x78, '<Q', 1 << 62))
    mutate('mini_start_outside', base, (e(3) + 0x74, '<I', 5000))
    mutate('mini_loop', base, ((lay.minifat_start + 1) * 512 + 4, '<I', 0))
    mutate('root_mini_huge', base, (e(0) + 0x78, '<I', 0x7FFFFF00))
    mutate('root_mini_short', base, (e(0) + 0x78, '<I', 64))
    mutate('sibling_self_loop', base, (e(2) + 0x44, '<I', 2))
    mutate('sibling_cycle', base, (e(2) + 0x48, '<I', 1))
    mutate('child_is_root', base, (e(1) + 0x4C, '<I', 0))
    mutate('link_outside', base, (e(1) + 0x48, '<I', 0x10000))
    mutate('link_to_unused', base, (e(3) + 0x48, '<I', 5))
    mutate('unreachable', base, (e(1) + 0x4C, '<I', NOSTREAM))
    mutate('duplicate_name', base, (e(1), '<10s', 'LARGE'.encode('utf-16-le')), (e(1) + 0x40, '<H', 12))
    mutate('bad_name_char', base, (e(2), '<H', ord('/')))
    mutate('bad_type', base, (e(2) + 0x42, '<B', 9))
    mutate('name_length_zero', base, (e(2) + 0x40, '<H', 0))
    mutate('name_length_long', base, (e(2) + 0x40, '<H', 200))
    mutate('root_not_first', base, (e(0) + 0x42, '<B', 1))
    mutate('stream_with_child', base, (e(2) + 0x4C, '<I', 3), (e(1) + 0x4C, '<I', 2))
    for name, data in sorted(files.items()):
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(bytes(data))
    print('%d files in %s' % (len(files), OUT))


if __name__ == '__main__':
    main()
