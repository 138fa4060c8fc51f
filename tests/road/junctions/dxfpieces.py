"""Prints the road pieces of a saved drawing, one a line in a stable order, then whether every
arc end that meets another piece runs on into it tangentially (to 1e-6). An optional second
argument scales the drawing first (1000 shows a metre drawing in millimetres)."""
import math
import sys

import ezdxf

TOL = 1e-6
SCALE = float(sys.argv[2]) if len(sys.argv) > 2 else 1.0


def xy(p):
    return (p[0] * SCALE, p[1] * SCALE)


def pt(p):
    return "%g,%g" % (round(p[0], 4) + 0.0, round(p[1], 4) + 0.0)


def arc_ends(e):
    c, r = xy(e.dxf.center), e.dxf.radius * SCALE
    return [(c[0] + r * math.cos(math.radians(a)), c[1] + r * math.sin(math.radians(a)))
            for a in (e.dxf.start_angle, e.dxf.end_angle)]


def main():
    doc = ezdxf.readfile(sys.argv[1])
    rows, lines, arcs = [], [], []
    for e in doc.modelspace():
        if e.dxftype() == "LINE":
            a, b = sorted([xy(e.dxf.start), xy(e.dxf.end)])
            rows.append("LINE %s %s %s" % (e.dxf.layer, pt(a), pt(b)))
            lines.append((e.dxf.layer, a, b))
        elif e.dxftype() == "ARC":
            rows.append("ARC %s %s r=%g" % (e.dxf.layer, pt(xy(e.dxf.center)), round(e.dxf.radius * SCALE, 4)))
            arcs.append(e)
        else:
            rows.append(e.dxftype())
    print("\n".join(sorted(rows)))
    # Every arc end that meets another piece of its layer runs on into it tangentially: the
    # radius there is square to a line, or in line with the other arc's radius.
    bad = 0
    for f in arcs:
        c = xy(f.dxf.center)
        for end in arc_ends(f):
            rx, ry = end[0] - c[0], end[1] - c[1]
            ok = True
            for layer, a, b in lines:
                if layer == f.dxf.layer and (math.dist(end, a) <= TOL or math.dist(end, b) <= TOL):
                    lx, ly = b[0] - a[0], b[1] - a[1]
                    ok = ok and abs(rx * lx + ry * ly) / (math.hypot(rx, ry) * math.hypot(lx, ly)) <= TOL
            for o in arcs:
                if o is f or o.dxf.layer != f.dxf.layer:
                    continue
                if any(math.dist(end, q) <= TOL for q in arc_ends(o)):
                    oc = xy(o.dxf.center)
                    ox, oy = end[0] - oc[0], end[1] - oc[1]
                    ok = ok and abs(rx * oy - ry * ox) / (math.hypot(rx, ry) * math.hypot(ox, oy)) <= TOL
            bad += not ok
    print("tangent" if bad == 0 else "%d arc ends not tangent" % bad)


main()
