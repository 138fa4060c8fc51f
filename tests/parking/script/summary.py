# Prints what a saved parking drawing holds, band by band of 20000 in y (rows drawn at y 0,
# 20000, 40000...): closed and open polylines, car inserts and texts on the parking layer, and
# the extents of the closed outlines. With "CX CY" after the file, also how many closed outlines
# lie at x >= CX and their nearest and farthest vertex from (CX, CY).
import math
import sys
from collections import defaultdict

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
bands = defaultdict(lambda: {"closed": 0, "open": 0, "cars": [], "texts": [], "box": None})
other = 0
radii = []


def Band(y):
    return math.floor((y + 8000) / 20000)


for e in doc.modelspace():
    if e.dxf.layer != "PLAN-CAR_PLACE":
        other += 1
        continue
    if e.dxftype() == "LWPOLYLINE":
        pts = [(p[0], p[1]) for p in e.get_points("xy")]
        band = bands[Band(min(p[1] for p in pts))]
        if e.closed:
            band["closed"] += 1
            if len(sys.argv) > 3 and min(p[0] for p in pts) >= float(sys.argv[2]) - 1e-6:
                radii.append([math.hypot(p[0] - float(sys.argv[2]), p[1] - float(sys.argv[3])) for p in pts])
            xs = [p[0] for p in pts] + ([band["box"][0], band["box"][2]] if band["box"] else [])
            ys = [p[1] for p in pts] + ([band["box"][1], band["box"][3]] if band["box"] else [])
            band["box"] = (min(xs), min(ys), max(xs), max(ys))
        else:
            band["open"] += 1
    elif e.dxftype() == "INSERT":
        band = bands[Band(e.dxf.insert.y)]
        band["cars"].append("%s %.2f %.4f" % (e.dxf.name, e.dxf.rotation % 360, e.dxf.xscale))
    elif e.dxftype() == "TEXT":
        band = bands[Band(e.dxf.insert.y)]
        band["texts"].append("%s %.2f" % (e.dxf.text, e.dxf.height))
for key in sorted(bands):
    b = bands[key]
    box = " ".join("%.2f" % (round(v, 2) + 0.0) for v in b["box"]) if b["box"] else "-"
    cars = sorted(set(b["cars"]))
    print("band %d: closed %d open %d cars %d %s texts %s box %s"
          % (key, b["closed"], b["open"], len(b["cars"]), cars, b["texts"], box))
print("other %d" % other)
if radii:
    print("arc spaces %d radius %.2f to %.2f" % (len(radii), min(min(r) for r in radii), max(max(r) for r in radii)))
