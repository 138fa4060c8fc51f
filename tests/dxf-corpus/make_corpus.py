#!/usr/bin/python3
"""Writes the drawing files of the DXF corpus test with ezdxf, the way other CAD programs write
them: every file version from R12 to R2018, text and binary, the code pages of older files, and
the kinds of entities and objects real site plans hold. The files are small and kept in git;
run this again only to change them (the hand-written ones beside them stay).

    /usr/bin/python3 tests/dxf-corpus/make_corpus.py
"""
import math
import os

import ezdxf
from ezdxf.math import Vec2, Vec3
from ezdxf.render import mleader

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "files")


def setup_layers(doc, names):
    for i, (name, color) in enumerate(names):
        layer = doc.layers.add(name, color=color)
        if i == 1:
            layer.dxf.linetype = "DASHED"
    if doc.dxfversion > "AC1009":
        doc.layers.get(names[0][0]).rgb = (12, 200, 34)


def add_block_with_attribs(doc, name, tag_text):
    blk = doc.blocks.new(name, base_point=(0, 0))
    blk.add_circle((0, 0), 1.5)
    blk.add_line((-2, 0), (2, 0))
    blk.add_attdef("SPECIES", insert=(0, -2.5), dxfattribs={"height": 0.5})
    blk.add_attdef("HEIGHT", insert=(0, -3.5), dxfattribs={"height": 0.5})
    return blk


def add_common(doc, msp, texts, layer_names):
    """The entities every version can hold."""
    l0, l1, l2 = layer_names
    line = msp.add_line((0, 0), (100, 50), dxfattribs={"layer": l0})
    msp.add_circle((20, 20), 5, dxfattribs={"layer": l1, "color": 3})
    msp.add_arc((40, 10), 8, 30, 210, dxfattribs={"layer": l1})
    msp.add_text(texts[0], dxfattribs={"layer": l2, "height": 2.5}).set_placement((5, 60))
    msp.add_text(texts[1], dxfattribs={"layer": l2, "height": 1.8, "rotation": 30}).set_placement(
        (10, 70), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    msp.add_point((3, 4, 0), dxfattribs={"layer": l0})
    msp.add_solid([(0, 0), (5, 0), (0, 5), (5, 5)], dxfattribs={"color": 5})
    msp.add_trace([(10, 0), (15, 0), (10, 2), (15, 2)])
    msp.add_3dface([(0, 0, 0), (10, 0, 0), (10, 10, 3), (0, 10, 3)])
    msp.add_polyline2d([(0, 0), (10, 5), (20, 0), (30, 5)], dxfattribs={"layer": l1})
    msp.add_polyline3d([(0, 0, 0), (10, 5, 2), (20, 0, 4)], dxfattribs={"layer": l0})
    mesh = msp.add_polymesh((3, 3))
    for m in range(3):
        for n in range(3):
            mesh.set_mesh_vertex((m, n), (m * 5, n * 5, (m + n) % 2))
    pface = msp.add_polyface()
    pface.append_face([(0, 0, 0), (4, 0, 0), (4, 4, 0), (0, 4, 0)])
    pface.append_face([(4, 0, 0), (8, 0, 0), (8, 4, 1)])
    add_block_with_attribs(doc, "TREE", texts[0])
    ref = msp.add_blockref("TREE", (50, 50), dxfattribs={"layer": l0, "xscale": 2, "yscale": 2, "rotation": 15})
    ref.add_auto_attribs({"SPECIES": texts[2], "HEIGHT": "12m"})
    msp.add_blockref("TREE", (60, 50))
    for app in ("SURVEY", "ROADPLAN", "QA_CHECK"):
        doc.appids.new(app)
    line.set_xdata("SURVEY", [(1000, "point id 17"), (1040, 1.25), (1070, 7), (1071, 123456),
                              (1010, (1.0, 2.0, 3.0)), (1002, "{"), (1000, texts[2]), (1002, "}")])
    line.set_xdata("ROADPLAN", [(1000, "centre line"), (1041, 2.5), (1005, line.dxf.handle)])
    msp.add_circle((80, 80), 3).set_xdata("QA_CHECK", [(1000, "ok"), (1071, 20240101)])
    return line


def add_modern(doc, msp, texts, layer_names):
    """What R2000 and later hold beyond R12."""
    l0, l1, l2 = layer_names
    pl = msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0, 1, 1, 0), (10, 10, 0, 0, -0.3), (0, 10)],
                            format="xyseb", dxfattribs={"layer": l1, "closed": True})
    pl.dxf.flags = pl.dxf.flags | 128  # line type generation along the whole polyline
    msp.add_mtext(texts[3], dxfattribs={"layer": l2, "char_height": 2.0, "width": 30}).set_location((0, 90))
    msp.add_ellipse((50, 0), major_axis=(10, 4), ratio=0.5, start_param=0, end_param=math.pi)
    msp.add_spline([(0, 0), (10, 10), (20, 0), (30, 10)], dxfattribs={"layer": l0})
    msp.add_xline((0, 0), (1, 1))
    msp.add_ray((5, 5), (1, 0))
    hatch = msp.add_hatch(color=2, dxfattribs={"layer": l1})
    hatch.paths.add_polyline_path([(0, 0), (20, 0), (20, 20), (0, 20)], is_closed=True)
    for pattern, x in (("ANSI31", 30), ("NET", 60), ("ANSI37", 90)):
        h = msp.add_hatch(color=4)
        h.set_pattern_fill(pattern, scale=0.5)
        h.paths.add_polyline_path([(x, 0), (x + 20, 0), (x + 20, 15), (x, 15)], is_closed=True)
    dim = msp.add_linear_dim(base=(0, -10), p1=(0, 0), p2=(30, 0), dimstyle="EZDXF")
    dim.render()
    msp.add_aligned_dim(p1=(0, 0), p2=(20, 20), distance=5).render()
    msp.add_radius_dim(center=(20, 20), radius=5, angle=45).render()
    msp.add_leader([(0, 0), (5, 5), (10, 5)])
    mesh = msp.add_mesh()
    with mesh.edit_data() as data:
        data.vertices = [(0, 0, 0), (5, 0, 0), (5, 5, 0), (0, 5, 0)]
        data.faces = [(0, 1, 2, 3)]
    circle = msp.add_circle((70, 30), 4, dxfattribs={"layer": l0})
    xdict = circle.new_extension_dict()
    xrec = xdict.add_xrecord("SITE_NOTE")
    xrec.reset([(1, texts[2]), (40, 3.5), (10, (1, 2, 3)), (70, 4)])
    info = doc.rootdict.add_xrecord("SITE_INFO")
    info.reset([(1, "project 42"), (40, 500.0)])
    group = doc.groups.new("TREES_NORTH")
    group.extend([circle, pl])
    imagedef = doc.add_image_def(filename="aerial.png", size_in_pixel=(640, 480))
    msp.add_image(imagedef, insert=(100, 0), size_in_units=(64, 48), rotation=10)
    msp.add_wipeout([(0, 0), (10, 0), (10, 5), (0, 5)])
    layout = doc.layouts.get("Layout1")
    layout.add_viewport(center=(150, 100), size=(250, 180), view_center_point=(50, 50), view_height=150)
    layout.add_text(texts[0], dxfattribs={"height": 5}).set_placement((20, 20))
    plan_b = doc.layouts.new("Plan B")
    plan_b.add_line((0, 0), (100, 100))
    plan_b.add_viewport(center=(100, 80), size=(150, 100), view_center_point=(20, 20), view_height=60)


def add_recent(doc, msp, texts):
    """What R2007 and later hold: multileaders and columns of text."""
    ml = msp.add_multileader_mtext("Standard")
    ml.set_content(texts[1], char_height=1.5)
    ml.add_leader_line(mleader.ConnectionSide.left, [Vec2(-20, -10)])
    ml.build(insert=Vec2(120, 60))
    msp.add_mtext_static_columns([texts[3], "second column", "third column"], width=20, gutter_width=2,
                                 height=30, dxfattribs={"char_height": 1.5}).set_location((0, 140))


def make(version, name, texts, layer_names, codepage=None, fmt="asc"):
    doc = ezdxf.new(version, setup=True)
    if codepage:
        doc.encoding = codepage  # ezdxf writes the page of its encoding as $DWGCODEPAGE
    doc.header["$INSUNITS"] = 6
    msp = doc.modelspace()
    setup_layers(doc, [(layer_names[0], 1), (layer_names[1], 2), (layer_names[2], 7)])
    add_common(doc, msp, texts, layer_names)
    if version != "R12":
        add_modern(doc, msp, texts, layer_names)
    if version >= "R2010":
        add_recent(doc, msp, texts)
    path = os.path.join(OUT, name)
    doc.saveas(path, fmt=fmt)
    check = ezdxf.readfile(path)
    auditor = check.audit()
    assert not auditor.has_errors, (name, [e.message for e in auditor.errors])
    print("wrote", name, check.dxfversion, check.encoding)


LATIN = ["SITE PLAN", "North gate", "Quercus robur", "Main road\\Pwith two lanes"]
CHINESE = ["总平面图", "北门", "香樟", "道路中心线\\P双向两车道"]
TRADITIONAL = ["總平面圖", "北門", "樟樹", "道路中心線\\P雙向兩車道"]
CYRILLIC = ["Генплан", "Северные ворота", "Дуб", "Дорога\\Pдве полосы"]
LATIN_NAMES = ["ROAD", "TREES", "NOTES"]
CHINESE_NAMES = ["道路中心线", "树木", "注释"]


def seeds():
    """Small drawings the DXF fuzz target starts from: a GBK file and a binary one, each with
    records the host keeps whole."""
    folder = os.path.join(os.path.dirname(OUT), "..", "..", "fuzz", "seeds", "dxf")
    for version, name, codepage, fmt in (("R2000", "kept-gbk.dxf", "gbk", "asc"),
                                         ("R2010", "kept-binary.dxf", None, "bin")):
        doc = ezdxf.new(version)
        if codepage:
            doc.encoding = codepage
        doc.layers.add("道路")
        doc.appids.new("SURVEY")
        msp = doc.modelspace()
        msp.add_text("总平面图", dxfattribs={"layer": "道路"})
        msp.add_mtext("道路\\P中心线").set_location((0, 10))
        h = msp.add_hatch(color=2)
        h.set_pattern_fill("ANSI31")
        h.paths.add_polyline_path([(0, 0), (5, 0), (5, 5)], is_closed=True)
        msp.add_point((1, 1)).set_xdata("SURVEY", [(1000, "p1"), (1040, 2.5)])
        msp.add_spline([(0, 0), (3, 4), (6, 0)])
        msp.add_linear_dim(base=(0, -3), p1=(0, 0), p2=(5, 0)).render()
        doc.saveas(os.path.normpath(os.path.join(folder, name)), fmt=fmt)
        print("wrote seed", name)


def main():
    os.makedirs(OUT, exist_ok=True)
    seeds()
    make("R12", "r12_basic.dxf", LATIN, LATIN_NAMES)
    make("R12", "r12_binary.dxf", LATIN, LATIN_NAMES, fmt="bin")
    make("R2000", "r2000_mix.dxf", LATIN, LATIN_NAMES)
    make("R2000", "r2000_gbk.dxf", CHINESE, CHINESE_NAMES, codepage="gbk")
    make("R2004", "r2004_gbk.dxf", CHINESE, CHINESE_NAMES, codepage="gbk")
    make("R2004", "r2004_big5.dxf", TRADITIONAL, ["道路中心線", "樹木", "註釋"], codepage="cp950")
    make("R2000", "r2000_cp1251.dxf", CYRILLIC, ["ДОРОГИ", "ДЕРЕВЬЯ", "ТЕКСТ"], codepage="cp1251")
    make("R2007", "r2007_utf8.dxf", CHINESE, CHINESE_NAMES)
    make("R2010", "r2010_mleader.dxf", CHINESE, CHINESE_NAMES)
    make("R2010", "r2010_binary.dxf", CHINESE, CHINESE_NAMES, fmt="bin")
    make("R2013", "r2013_mix.dxf", LATIN, LATIN_NAMES)
    make("R2018", "r2018_columns.dxf", CHINESE, CHINESE_NAMES)


if __name__ == "__main__":
    main()
