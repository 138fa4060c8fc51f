# Prints the model space of each drawing file given, one entity a line, sorted, numbers rounded
# to 4 decimals: "== FILE" heads each drawing.
import sys

import ezdxf


def N(v):
    v = round(v, 4)
    return ("%.4f" % (0.0 if v == 0 else v)).rstrip("0").rstrip(".")


def P(p):
    return "(" + N(p[0]) + "," + N(p[1]) + ")"


def Angle(a):
    return N(round(a, 4) % 360)


def Line(e):
    t = e.dxftype()
    d = e.dxf
    if t == "LINE":
        return "LINE %s %s" % (P(d.start), P(d.end))
    if t == "ARC":
        return "ARC %s r%s %s..%s" % (P(d.center), N(d.radius), Angle(d.start_angle), Angle(d.end_angle))
    if t == "CIRCLE":
        return "CIRCLE %s r%s" % (P(d.center), N(d.radius))
    if t == "LWPOLYLINE":
        pts = " ".join(P(p) + ("" if abs(p[2]) < 5e-5 else "b" + N(p[2])) for p in e.get_points("xyb"))
        return "PLINE%s %s" % (" closed" if e.closed else "", pts)
    if t == "TEXT":
        return "TEXT %s h%s %s %s" % (P(d.insert), N(d.height), Angle(d.rotation), d.text)
    if t == "INSERT":
        return "INSERT %s %s x%s %s" % (d.name, P(d.insert), N(d.xscale), Angle(d.rotation))
    return t


for name in sys.argv[1:]:
    print("== " + name.rsplit("/", 1)[-1])
    for line in sorted(Line(e) + " " + e.dxf.layer for e in ezdxf.readfile(name).modelspace()):
        print(line)
