#!/usr/bin/python3
"""Draws the suite's support data into support/: the car, the four default trees, the plant
library and the site-plan legend library. Run with /usr/bin/python3 (needs ezdxf); the output
is committed so the build never runs this."""
import math
import os
import re
import sys

import ezdxf
from ezdxf import bbox

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support")


def new_doc():
    doc = ezdxf.new("R2000")
    doc.header["$INSUNITS"] = 4  # millimetres
    return doc


def save(doc, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    doc.saveas(path)


def rect(msp, x0, y0, x1, y1):
    msp.add_lwpolyline([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], close=True)


def polygon(n, r, phase=0.0, inner=None):
    """n-pointed outline; with inner, a star alternating r and inner."""
    pts = []
    steps = n * 2 if inner else n
    for i in range(steps):
        a = phase + 2 * math.pi * i / steps
        rr = inner if inner and i % 2 else r
        pts.append((rr * math.cos(a), rr * math.sin(a)))
    return pts


def car():
    doc = new_doc()
    msp = doc.modelspace()
    w, l = 1800.0, 4800.0
    # body with rounded corners (bulges), length along +Y, centred on the origin
    r = 300.0
    b = math.tan(math.pi / 8)
    hx, hy = w / 2, l / 2
    msp.add_lwpolyline([(-hx + r, -hy, 0, 0, 0), (hx - r, -hy, 0, 0, b), (hx, -hy + r, 0, 0, 0),
                        (hx, hy - r, 0, 0, b), (hx - r, hy, 0, 0, 0), (-hx + r, hy, 0, 0, b),
                        (-hx, hy - r, 0, 0, 0), (-hx, -hy + r, 0, 0, b)],
                       format="xyseb", close=True)
    msp.add_lwpolyline([(-750, 700), (750, 700), (650, 1300), (-650, 1300)], close=True)  # windscreen
    msp.add_lwpolyline([(-700, -1500), (700, -1500), (620, -1050), (-620, -1050)], close=True)  # rear
    rect(msp, -780, -1000, 780, 650)  # roof
    msp.add_line((-hx, 1900), (-hx - 120, 1800))  # mirrors
    msp.add_line((hx, 1900), (hx + 120, 1800))
    save(doc, os.path.join(ROOT, "car.dxf"))


def trees():
    """Four plan-view trees within a circle of diameter 1000 around the origin."""
    shapes = [
        lambda m: (m.add_circle((0, 0), 500), m.add_circle((0, 0), 60)),
        lambda m: (m.add_lwpolyline(polygon(12, 500, 0, 380), close=True), m.add_circle((0, 0), 60)),
        lambda m: (m.add_circle((0, 0), 500), m.add_circle((0, 0), 330), m.add_circle((0, 0), 150)),
        lambda m: [m.add_circle((250 * math.cos(a), 250 * math.sin(a)), 240)
                   for a in (math.pi / 2 + 2 * math.pi * k / 3 for k in range(3))] +
                  [m.add_lwpolyline(polygon(6, 120), close=True)],
    ]
    for i, draw in enumerate(shapes, 1):
        doc = new_doc()
        draw(doc.modelspace())
        save(doc, os.path.join(ROOT, "_Tree%d.dxf" % i))
        save(doc, os.path.join(ROOT, "DwgLib", "PlantLib", "SysLib", "Tree%d.dxf" % i))


def centre_in_legend_cell(msp):
    """Moves a symbol so that, in a legend row, it stands in the middle of its cell and level
    with the row's name. The legend scales a symbol to fill a cell 9 wide and 4.5 high (at
    print scale 1) and centres the name 1.75 below the insertion point, so the middle of the
    symbol's extents goes 1.75 / fit below the origin."""
    box = bbox.extents(msp)
    w, h = box.size.x, box.size.y
    fit = min(4.5 / h if h > 0 else math.inf, 9.0 / w if w > 0 else math.inf)
    c = box.center
    for e in msp:
        e.translate(-c.x, -c.y - 1.75 / fit, 0)


def legend_symbols():
    """Site-plan legend symbols at print scale 1: drawing units of about a few units."""
    def building(m):
        rect(m, 0, 0, 18, 8); m.add_line((0, 0), (18, 8))
    def road(m):
        m.add_line((0, 0), (18, 0)); m.add_line((0, 3), (18, 3))
        for x in range(0, 18, 4):
            m.add_line((x, 1.5), (x + 2, 1.5))
    def parking(m):
        rect(m, 0, 0, 2.5, 5); rect(m, 2.5, 0, 5, 5); rect(m, 5, 0, 7.5, 5)
    def tree(m):
        m.add_circle((0, 0), 3); m.add_circle((0, 0), 0.3)
    def shrub(m):
        m.add_lwpolyline(polygon(10, 2.5, 0, 1.8), close=True)
    def lawn(m):
        rect(m, 0, 0, 18, 6)
        for x in range(2, 18, 3):
            m.add_line((x, 2), (x + 0.8, 3.2)); m.add_line((x + 0.8, 3.2), (x + 1.6, 2))
    def wall(m):
        m.add_line((0, 0), (18, 0)); m.add_line((0, 0.6), (18, 0.6))
        for x in range(0, 19, 3):
            m.add_line((x, 0), (x, 0.6))
    def entrance(m):
        m.add_lwpolyline([(0, 0), (6, 0), (3, 5)], close=True); m.add_line((3, 5), (3, 9))
    def elevation(m):
        m.add_lwpolyline([(-1.5, 1.5), (1.5, 1.5), (0, 0)], close=True); m.add_line((1.5, 1.5), (8, 1.5))
    def lamp(m):
        m.add_circle((0, 0), 1.2); m.add_line((-2, 0), (2, 0)); m.add_line((0, -2), (0, 2))
    def north(m):
        m.add_circle((0, 0), 6); m.add_lwpolyline([(0, 6), (1.5, -4), (0, -2.5), (-1.5, -4)], close=True)
    return [("新建建筑", "Building.dxf", building), ("道路", "Road.dxf", road),
            ("停车位", "Parking.dxf", parking), ("乔木", "Tree.dxf", tree),
            ("灌木", "Shrub.dxf", shrub), ("草坪", "Lawn.dxf", lawn), ("围墙", "Wall.dxf", wall),
            ("出入口", "Entrance.dxf", entrance), ("标高", "Elevation.dxf", elevation),
            ("路灯", "Lamp.dxf", lamp), ("指北针", "North.dxf", north)]


def xml_escape(s):
    return s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


# The names a user of --lang en reads, given beside each library's own (name_en="...").
ENGLISH_NAMES = {
    "总平": "Site plan", "总平设计": "Site plan design", "常用符号": "Common symbols",
    "总平图例": "Site plan legend", "新建建筑": "New building", "道路": "Road", "停车位": "Parking space",
    "乔木": "Tree", "灌木": "Shrub", "草坪": "Lawn", "围墙": "Wall", "出入口": "Entrance",
    "标高": "Elevation", "路灯": "Street lamp", "指北针": "North arrow",
    "植物": "Plants", "圆形乔木": "Round tree", "星形乔木": "Star tree", "环形乔木": "Ring tree",
    "丛生乔木": "Clump tree",
}


def with_english_names(body):
    def named(m):
        english = ENGLISH_NAMES.get(m.group(1))
        return m.group(0) if english is None else '%s name_en="%s"' % (m.group(0), xml_escape(english))
    return re.sub(r'name="([^"]*)"(?! name_en=)', named, body)


def write_dmls(path, group, body):
    body = with_english_names(body)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<libgroup name="%s">\n%s</libgroup>\n'
                % (xml_escape(group), body))


def libraries():
    plant = os.path.join(ROOT, "DwgLib", "PlantLib")
    names = ["圆形乔木", "星形乔木", "环形乔木", "丛生乔木"]
    items = "".join('      <item name="%s" file="Tree%d.dxf"/>\n' % (n, i) for i, n in enumerate(names, 1))
    write_dmls(os.path.join(plant, "LibGroup.dmls"), "植物图库",
               '  <library name="植物" folder="SysLib">\n    <directory name="乔木" name_en="Trees">\n%s'
               '    </directory>\n  </library>\n' % items)

    lib = os.path.join(ROOT, "DwgLib", "GeneralDrawingLib")
    symbols = legend_symbols()
    rows = []
    for name, file, draw in symbols:
        doc = new_doc()
        draw(doc.modelspace())
        centre_in_legend_cell(doc.modelspace())
        save(doc, os.path.join(lib, "SysLib", file))
        rows.append('        <item name="%s" file="%s"/>\n' % (name, file))
    write_dmls(os.path.join(lib, "LibGroup.dmls"), "总平图库",
               '  <library name="总平" folder="SysLib">\n'
               '    <directory name="总平设计">\n'
               '      <item name="指北针" file="North.dxf"/>\n'
               '    </directory>\n'
               '    <category name="常用符号">\n'
               '      <directory name="总平图例">\n%s'
               '      </directory>\n'
               '    </category>\n'
               '  </library>\n' % "".join(rows))


def main():
    car()
    trees()
    libraries()
    return 0


if __name__ == "__main__":
    sys.exit(main())
