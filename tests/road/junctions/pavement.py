"""Checks a saved road drawing against the pavement its script asks for.

    pavement.py SCRIPT DXF [SCALE]

The script's KyDrawRoad runs give the ideal pavement: the union of the strips of their segments
(straight or arc, with the widths and radius typed into the dialog), approximated by polygons in
this checker only. On the saved drawing (SCALE 1000 shows a metre drawing in millimetres):

- no two road edges cross or run over each other;
- no piece of an edge lies inside the pavement, and no edge end dangles inside it;
- every side of a strip away from the junctions has an edge on it;
- every fillet arc runs on tangentially into a piece at both ends, at the expected radius
  (R, or R plus the road's width for the outer edge of a same-centre bend);
- every centre line end lies at a road's open end or meets another centre line, and a road
  drawn from a point inside another road's centre line meets that road's centre lines there.

Prints "ok", or one line per fault found."""
import math
import re
import sys

import ezdxf

SCALE = float(sys.argv[3]) if len(sys.argv) > 3 else 1.0
TOL = 1.0  # millimetres: points closer are one point
DEPTH = 10.0  # millimetres: an edge this far inside the pavement is inside it
STEPS = 96  # polygon points per arc strip side


def parse_script(path):
    """The segments of every road: ("L", p, q) or ("A", p, mid, q), with the settings in force."""
    widths = {"2005": 2000.0, "2006": 2000.0, "2010": 5000.0}
    state = {"same_radius": False, "fillet": True, "centre": True}
    pos = 2015  # the picked line: the centre (2015), the left edge (2016), the right edge (2017)
    roads, road, mode, pending = [], None, "L", None
    lines = [ln.strip() for ln in open(path, encoding="utf-8")]
    point = re.compile(r"^~?(-?[0-9.]+),(-?[0-9.]+)$")
    in_road, refused, skip = False, False, 0
    for ln in lines:
        # Before a road: the whole road is refused; inside it: its next segment is.
        if ln.startswith("; refused"):
            refused = road is None
            skip = 0 if road is None else 2 if mode == "A" else 1
        if ln.startswith(";"):
            continue
        if ln == "KyDrawRoad":
            in_road, road = True, None
            continue
        if not in_road:
            continue
        m = re.match(r"^@edit (2005|2006|2010) (.+)$", ln)
        if m:
            widths[m.group(1)] = float(m.group(2))
            continue
        if ln in ("@click 2015", "@click 2016", "@click 2017"):
            pos = int(ln[-4:])
            continue
        if ln == "@click 2019":
            state["same_radius"] = True
            continue
        if ln == "@click 2018":
            state["same_radius"] = False
            continue
        if ln == "@click 2020":
            state["fillet"] = not state["fillet"]
            continue
        if ln == "@click 2007":
            state["centre"] = not state["centre"]
            continue
        if ln.startswith("@"):
            continue
        m = point.match(ln)
        if m and skip:
            skip -= 1
            continue
        if m:
            p = (float(m.group(1)), float(m.group(2)))
            if road is None:
                road = {"points": [p], "segs": [], "wl": widths["2005"], "wr": widths["2006"],
                        "r": widths["2010"], "refused": refused, "pos": [], **state}
                refused = False
                mode = "L"
            elif mode == "L":
                road["segs"].append(("L", road["points"][-1], p))
                road["pos"].append(pos)
                road["points"].append(p)
            elif pending is None:
                pending = p
            else:
                road["segs"].append(("A", road["points"][-1], p, pending))
                road["pos"].append(pos)
                road["points"].append(pending)
                pending = None
            continue
        if ln == "A":
            mode = "A"
        elif ln == "L":
            mode = "L"
        elif ln == "C" and road:
            road["segs"].append(("L", road["points"][-1], road["points"][0]))
            road["pos"].append(pos)
            roads.append(road)
            road = None
        elif ln == "" and road is None:
            in_road = False
        elif ln == "":
            roads.append(road)
            road = None
    return [r for r in roads if r["segs"]]  # a road whose every segment was refused is none


def circle(p, m, q):
    ax, ay = p
    bx, by = m
    cx, cy = q
    d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by))
    ux = ((ax * ax + ay * ay) * (by - cy) + (bx * bx + by * by) * (cy - ay) + (cx * cx + cy * cy) * (ay - by)) / d
    uy = ((ax * ax + ay * ay) * (cx - bx) + (bx * bx + by * by) * (ax - cx) + (cx * cx + cy * cy) * (bx - ax)) / d
    return (ux, uy), math.dist((ux, uy), p), d > 0  # centre, radius, counter-clockwise


def centre_points(seg, n):
    if seg[0] == "L":
        p, q = seg[1], seg[2]
        return [(p[0] + (q[0] - p[0]) * i / n, p[1] + (q[1] - p[1]) * i / n) for i in range(n + 1)]
    p, m, q = seg[1], seg[2], seg[3]
    c, r, ccw = circle(p, m, q)
    a0 = math.atan2(p[1] - c[1], p[0] - c[0])
    a1 = math.atan2(q[1] - c[1], q[0] - c[0])
    sweep = (a1 - a0) % (2 * math.pi) if ccw else -((a0 - a1) % (2 * math.pi))
    return [(c[0] + r * math.cos(a0 + sweep * i / n), c[1] + r * math.sin(a0 + sweep * i / n)) for i in range(n + 1)]


def strip(seg, wl, wr):
    """The strip of one segment: a polygon, left side forwards then right side backwards."""
    pts = centre_points(seg, 1 if seg[0] == "L" else STEPS)
    left, right = [], []
    for i, p in enumerate(pts):
        a, b = pts[max(i - 1, 0)], pts[min(i + 1, len(pts) - 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        n = math.hypot(dx, dy)
        nx, ny = -dy / n, dx / n
        left.append((p[0] + nx * wl, p[1] + ny * wl))
        right.append((p[0] - nx * wr, p[1] - ny * wr))
    return left + right[::-1], left, right


def on_centre(seg, p):
    """p lies on the centre curve of the segment."""
    if seg[0] == "L":
        return seg_dist(p, seg[1], seg[2]) <= TOL
    c, r, _ = circle(seg[1], seg[2], seg[3])
    pts = centre_points(seg, STEPS)
    return abs(math.dist(p, c) - r) <= TOL and min(seg_dist(p, a, b) for a, b in zip(pts, pts[1:])) <= 0.01 * r


def inside(poly, p):
    x, y = p
    hit = False
    for (x1, y1), (x2, y2) in zip(poly, poly[1:] + poly[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            hit = not hit
    return hit


def seg_dist(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    n = dx * dx + dy * dy
    t = 0.0 if n == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / n))
    return math.dist(p, (a[0] + t * dx, a[1] + t * dy))


def depth(poly, p):
    """How far p lies inside the polygon; 0 outside."""
    if not inside(poly, p):
        return 0.0
    return min(seg_dist(p, a, b) for a, b in zip(poly, poly[1:] + poly[:1]))


class Piece:
    def __init__(self, e):
        self.layer = e.dxf.layer
        if e.dxftype() == "LINE":
            self.arc = None
            self.a, self.b = xy(e.dxf.start), xy(e.dxf.end)
            self.pts = [self.a, self.b]
        else:
            c, r = xy(e.dxf.center), e.dxf.radius * SCALE
            a0, a1 = math.radians(e.dxf.start_angle), math.radians(e.dxf.end_angle)
            sweep = (a1 - a0) % (2 * math.pi)
            self.arc = (c, r)
            self.pts = [(c[0] + r * math.cos(a0 + sweep * i / 64), c[1] + r * math.sin(a0 + sweep * i / 64))
                        for i in range(65)]
            self.a, self.b = self.pts[0], self.pts[-1]

    def samples(self, n=24):
        out = []
        for i in range(1, n):
            t = i / n * (len(self.pts) - 1)
            k = min(int(t), len(self.pts) - 2)
            f = t - k
            p, q = self.pts[k], self.pts[k + 1]
            out.append((p[0] + (q[0] - p[0]) * f, p[1] + (q[1] - p[1]) * f))
        return out

    def dist(self, p):
        if self.arc:
            c, r = self.arc
            d = abs(math.dist(p, c) - r)
            ang_ok = min(seg_dist(p, a, b) for a, b in zip(self.pts, self.pts[1:])) <= d + r * 0.01
            return d if ang_ok else min(math.dist(p, self.a), math.dist(p, self.b))
        return seg_dist(p, self.a, self.b)


def xy(p):
    return (p[0] * SCALE, p[1] * SCALE)


def cross(a, b, c, d):
    """The point where segments ab and cd cross properly, or None."""
    r = (b[0] - a[0], b[1] - a[1])
    s = (d[0] - c[0], d[1] - c[1])
    den = r[0] * s[1] - r[1] * s[0]
    if abs(den) <= 1e-9 * math.hypot(*r) * math.hypot(*s):
        return None
    t = ((c[0] - a[0]) * s[1] - (c[1] - a[1]) * s[0]) / den
    u = ((c[0] - a[0]) * r[1] - (c[1] - a[1]) * r[0]) / den
    if 0 <= t <= 1 and 0 <= u <= 1:
        return (a[0] + t * r[0], a[1] + t * r[1])
    return None


def main():
    roads = [r for r in parse_script(sys.argv[1]) if not r["refused"]]
    doc = ezdxf.readfile(sys.argv[2])
    pieces = [Piece(e) for e in doc.modelspace() if e.dxftype() in ("LINE", "ARC")]
    edges = [p for p in pieces if p.layer == "PLAN-ROAD"]
    centres = [p for p in pieces if p.layer == "PLAN-ROAD_CENTER"]
    strips = []  # (polygon, left side, right side, road index)
    for k, road in enumerate(roads):
        for seg, pos in zip(road["segs"], road["pos"]):
            w = road["wl"] + road["wr"]
            wl, wr = {2016: (0.0, w), 2017: (w, 0.0)}.get(pos, (road["wl"], road["wr"]))
            poly, left, right = strip(seg, wl, wr)
            strips.append((poly, left, right, k))
    faults = []
    script_circles = []
    for road in roads:
        for seg in road["segs"]:
            if seg[0] == "A":
                c, r, _ = circle(seg[1], seg[2], seg[3])
                script_circles.append((c, r, road))

    def is_fillet(e):
        """An arc that is no edge of an arc road."""
        if not e.arc:
            return False
        c, r = e.arc
        return not any(math.dist(c, sc) <= TOL and min(abs(r - sr - d) for d in (rd["wl"], -rd["wr"], rd["wr"], -rd["wl"]))
                       <= 4 * TOL for sc, sr, rd in script_circles)

    def pave_depth(p, skip=None):
        return max([depth(s[0], p) for s in strips if s[3] != skip] + [0.0])

    # Crossing or doubled edges.
    for i, e in enumerate(edges):
        for f in edges[i + 1:]:
            for a, b in zip(e.pts, e.pts[1:]):
                for c, d in zip(f.pts, f.pts[1:]):
                    x = cross(a, b, c, d)
                    if x and min(math.dist(x, q) for q in (e.a, e.b)) > TOL and min(
                            math.dist(x, q) for q in (f.a, f.b)) > TOL:
                        faults.append("edges cross at %.0f,%.0f" % x)
            if all(f.dist(p) <= TOL for p in e.samples(8)) or all(e.dist(p) <= TOL for p in f.samples(8)):
                faults.append("edges run over each other near %.0f,%.0f" % e.samples(2)[0])
    # Pieces and ends inside the pavement.
    for e in edges:
        # A fillet arc cuts across the strips at a bend's outer corner.
        deep = [p for p in e.samples() if pave_depth(p) > DEPTH and not is_fillet(e)]
        if deep:
            faults.append("edge piece inside the pavement at %.0f,%.0f" % deep[0])
        for end in (e.a, e.b):
            joined = any(f is not e and min(math.dist(end, f.a), math.dist(end, f.b)) <= TOL for f in edges)
            if not joined and pave_depth(end) > DEPTH:
                faults.append("edge end dangles inside the pavement at %.0f,%.0f" % end)
    # Every side of a strip away from other roads has its edge.
    for poly, left, right, k in strips:
        road = roads[k]
        reach = road["r"] + road["wl"] + road["wr"] + 2 * TOL
        for side in (left, right):
            for a, b in zip(side, side[1:]):
                for t in (0.25, 0.5, 0.75) if len(side) == 2 else (0.0,):
                    p = (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t)
                    near_other = any(s[3] != k and min(seg_dist(p, u, v) for u, v in zip(s[0], s[0][1:] + s[0][:1]))
                                     <= reach for s in strips)
                    near_own_bend = any(s is not None and s[3] == k and s[0] is not poly and min(
                        seg_dist(p, u, v) for u, v in zip(s[0], s[0][1:] + s[0][:1])) <= reach for s in strips)
                    if near_other or near_own_bend or pave_depth(p) > DEPTH:
                        continue
                    if not any(e.dist(p) <= TOL for e in edges):
                        faults.append("no edge on the pavement's side at %.0f,%.0f" % p)
    # Fillets: tangent at both ends, expected radius.
    for e in edges:
        if not is_fillet(e):
            continue
        c, r = e.arc
        radii = {round(rd["r"], 3) for rd in roads} | {round(rd["r"] + rd["wl"] + rd["wr"], 3) for rd in roads}
        if not any(abs(r - x) <= TOL for x in radii):
            faults.append("fillet of radius %.1f at %.0f,%.0f, expected one of %s" % (r, c[0], c[1], sorted(radii)))
        for end in (e.a, e.b):
            rx, ry = end[0] - c[0], end[1] - c[1]
            ok = False
            for f in edges:
                if f is e or min(math.dist(end, f.a), math.dist(end, f.b)) > TOL:
                    continue
                if f.arc:
                    ox, oy = end[0] - f.arc[0][0], end[1] - f.arc[0][1]
                    ok = abs(rx * oy - ry * ox) / (math.hypot(rx, ry) * math.hypot(ox, oy)) <= 1e-6
                else:
                    lx, ly = f.b[0] - f.a[0], f.b[1] - f.a[1]
                    ok = abs(rx * lx + ry * ly) / (math.hypot(rx, ry) * math.hypot(lx, ly)) <= 1e-6
                if ok:
                    break
            if not ok:
                faults.append("fillet about %.0f,%.0f not tangent at %.0f,%.0f" % (c[0], c[1], end[0], end[1]))
    # Centre lines end at their road's ends or run on into each other.
    road_ends = []
    for k, road in enumerate(roads):
        for seg, pos, end in ((road["segs"][0], road["pos"][0], 0), (road["segs"][-1], road["pos"][-1], -1)):
            shift = {2016: -road["wl"], 2017: road["wr"]}.get(pos, 0.0)
            _, left, _ = strip(seg, shift, 0.0)
            road_ends.append((left[end], k))
    for e in centres:
        for end in (e.a, e.b):
            if any(f is not e and f.dist(end) <= TOL for f in centres):
                continue
            if not any(math.dist(end, q) <= TOL for q, _ in road_ends):
                faults.append("centre line ends short of its junction at %.0f,%.0f" % end)
    # A road drawn from a point of another road's centre line (not its end, where the two make a
    # bend) meets that road's centre lines there.
    for q, k in road_ends:
        on_other = any(j != k and on_centre(seg, q) and all(math.dist(q, e) > TOL for e, i in road_ends if i == j)
                       for j, road in enumerate(roads) for seg in road["segs"])
        if on_other and sum(1 for f in centres if f.dist(q) <= TOL) < 2:
            faults.append("centre lines do not meet at %.0f,%.0f" % q)
    print("\n".join(dict.fromkeys(faults)) if faults else "ok")


main()
