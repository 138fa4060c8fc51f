#!/usr/bin/python3
"""Compares a drawing file with the same drawing after vorncad read and saved it, through ezdxf:
the census of entities by type in every layout and block, every handle and its type, every
text and layer name, every XDATA record and the values of every entity and object; the saved
file must pass ezdxf's audit. Prints one line per difference and exits 1 when there is any.

    /usr/bin/python3 compare.py BEFORE.dxf AFTER.dxf
"""
import math
import struct
import re
import sys
from collections import Counter

import ezdxf

ESCAPE = re.compile(r"\\[Uu]\+([0-9A-Fa-f]{4})")
MIF = re.compile(r"\\[Mm]\+([1-5])([0-9A-Fa-f]{4})")
MIF_PAGES = {"1": "cp932", "2": "cp950", "3": "cp949", "4": "johab", "5": "gbk"}


def text(value):
    """Strings as the characters they stand for: \\U+XXXX and \\M+NXXXX escapes decoded."""
    if not isinstance(value, str):
        return value
    value = MIF.sub(lambda m: bytes.fromhex(m.group(2)).decode(MIF_PAGES[m.group(1)]), value)
    return ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), value)


def same(a, b):
    if isinstance(a, (int, float)) and isinstance(b, (int, float)) and not isinstance(a, bool):
        return math.isclose(float(a), float(b), rel_tol=1e-9, abs_tol=1e-9)
    if isinstance(a, str) and isinstance(b, str):
        return text(a) == text(b)
    try:
        la, lb = list(a), list(b)
    except TypeError:
        return a == b
    return len(la) == len(lb) and all(same(x, y) for x, y in zip(la, lb))


def census(doc):
    counts = Counter()
    for layout in doc.layouts:
        for e in layout:
            counts[("layout " + layout.name, e.dxftype())] += 1
    for block in doc.blocks:
        if block.name.lower() in ("*model_space", "*paper_space") or block.name.lower().startswith("*paper_space"):
            continue
        for e in block:
            counts[("block " + block.name, e.dxftype())] += 1
    return counts


def texts(doc):
    out = {}
    for e in doc.entitydb.values():
        kind = e.dxftype()
        if kind in ("TEXT", "ATTRIB", "ATTDEF"):
            out[e.dxf.handle] = text(e.dxf.text)
        elif kind == "MTEXT":
            out[e.dxf.handle] = text(e.text)
    return out


def xdata(entity):
    if not entity.xdata:
        return {}
    return {app: [(t.code, t.value) for t in entity.xdata.get(app)] for app in entity.xdata.data}


def raw_handles(path):
    """The handles the file itself names (groups 5 and 105); ezdxf makes objects of its own
    for older files, whose handles depend on the seed."""
    data = open(path, "rb").read()
    handles = set()
    if data.startswith(b"AutoCAD Binary DXF\r\n\x1a\x00"):
        wide = data[23] == 0
        pos = 22
        seed = False
        while pos < len(data):
            if wide:
                code = struct.unpack_from("<h", data, pos)[0]
                pos += 2
            else:
                code = data[pos]
                pos += 1
                if code == 255:
                    code = struct.unpack_from("<h", data, pos)[0]
                    pos += 2
            if 310 <= code <= 319 or code == 1004:
                pos += 1 + data[pos]
            elif 10 <= code <= 59 or 110 <= code <= 149 or 210 <= code <= 239 or 460 <= code <= 469 or 1010 <= code <= 1059:
                pos += 8
            elif 90 <= code <= 99 or 420 <= code <= 429 or 440 <= code <= 459 or code == 1071:
                pos += 4
            elif 160 <= code <= 169:
                pos += 8
            elif 290 <= code <= 299:
                pos += 1
            elif 60 <= code <= 79 or 170 <= code <= 179 or 270 <= code <= 289 or 370 <= code <= 389 or 400 <= code <= 409 or 1060 <= code <= 1070:
                pos += 2
            else:
                end = data.index(b"\0", pos)
                if code in (5, 105) and not seed:
                    handles.add(data[pos:end].decode("ascii", "replace").upper())
                seed = code == 9 and data[pos:end] == b"$HANDSEED"
                pos = end + 1
        return handles
    lines = data.split(b"\n")
    for i in range(0, len(lines) - 1, 2):
        if lines[i].strip() in (b"5", b"105") and lines[i - 1].strip() != b"$HANDSEED":
            handles.add(lines[i + 1].strip().decode("ascii", "replace").upper())
    return handles


# Values a writer may spell differently without changing the drawing.
IGNORED = {"owner"}
# Names of table records, which compare without regard to case.
NAMES = {"layer", "linetype", "style", "dimstyle", "name", "text_style"}
HEADER_IGNORED = {"$HANDSEED", "$EXTMIN", "$EXTMAX", "$TDUPDATE", "$TDUUPDATE", "$TDINDWG", "$FINGERPRINTGUID",
                  "$VERSIONGUID"}


def main(before_path, after_path):
    before = ezdxf.readfile(before_path)
    after = ezdxf.readfile(after_path)
    faults = []
    if before.dxfversion != after.dxfversion:
        faults.append("version %s became %s" % (before.dxfversion, after.dxfversion))
    if before.encoding != after.encoding:
        faults.append("encoding %s became %s" % (before.encoding, after.encoding))
    a, b = census(before), census(after)
    for key in sorted(set(a) | set(b)):
        if a[key] != b[key]:
            faults.append("%s %s: %d became %d" % (key[0], key[1], a[key], b[key]))
    # A layer an entity names without the file defining it is made, as CAD programs do.
    used = {text(e.dxf.layer) for e in before.entitydb.values() if e.dxf.hasattr("layer")}
    la = sorted(text(l.dxf.name) for l in before.layers)
    lb = sorted(text(l.dxf.name) for l in after.layers if text(l.dxf.name) in la or text(l.dxf.name) not in used)
    if la != lb:
        faults.append("layers %s became %s" % (la, lb))
    for var in before.header.varnames():
        if var in HEADER_IGNORED:
            continue
        if var not in after.header:
            faults.append("header variable %s is gone" % var)
        elif not same(before.header[var], after.header[var]):
            faults.append("header %s: %r became %r" % (var, before.header[var], after.header[var]))
    ta, tb = texts(before), texts(after)
    for handle, value in ta.items():
        if tb.get(handle) != value:
            faults.append("text #%s %r became %r" % (handle, value, tb.get(handle)))
    in_file = raw_handles(before_path)
    for handle, entity in before.entitydb.items():
        if handle.upper() not in in_file:
            continue
        other = after.entitydb.get(handle)
        if other is None:
            faults.append("#%s %s is gone" % (handle, entity.dxftype()))
            continue
        if other.dxftype() != entity.dxftype():
            faults.append("#%s %s became %s" % (handle, entity.dxftype(), other.dxftype()))
            continue
        xa, xb = xdata(entity), xdata(other)
        if not same(sorted(xa.items()), sorted(xb.items())):
            faults.append("#%s %s xdata %r became %r" % (handle, entity.dxftype(), xa, xb))
        da, db = entity.dxfattribs(), other.dxfattribs()
        for key in sorted(set(da) | set(db)):
            if key in IGNORED:
                continue
            if key.endswith("_handle") and str(da.get(key, "")).upper() not in in_file:
                continue  # a link to an object ezdxf made itself
            if key not in db:
                faults.append("#%s %s lost %s=%r" % (handle, entity.dxftype(), key, da[key]))
            elif key not in da:
                faults.append("#%s %s gained %s=%r" % (handle, entity.dxftype(), key, db[key]))
            elif key in NAMES and isinstance(da[key], str) and text(da[key]).upper() == text(db[key]).upper():
                continue
            elif not same(da[key], db[key]):
                faults.append("#%s %s %s: %r became %r" % (handle, entity.dxftype(), key, da[key], db[key]))
    auditor = after.audit()
    for e in auditor.errors:
        faults.append("audit error: " + e.message)
    for line in faults:
        print(line)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
