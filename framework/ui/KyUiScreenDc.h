// KyUiScreenDc: temporary vectors on the drawing screen (a base line shown while a command
// asks for a point). They are never part of the drawing; pictures taken while they stand
// (@snapshot) show them, and the next redraw of the screen takes them away.
#pragma once

class KyGeObject;

class KyUiScreenDc {
public:
    // colorIndex: 1-255 (others show as 7); highlight non-zero draws highlighted.
    explicit KyUiScreenDc(int colorIndex = 7, int highlight = 0);

    // A curve of the geometry library (segment, arc, circle, polyline; arcs as short chords),
    // in world coordinates. Other objects and unbounded lines draw nothing.
    KyUiScreenDc& operator<<(const KyGeObject& object);
    KyUiScreenDc& operator<<(const KyGeObject* object);

    // Redraws the screen: every temporary vector goes, this object's and any other's.
    static void Clear();

    // Vectors this object has drawn.
    int GetVectorCount() const { return m_nVectors; }

private:
    void Vector(double x0, double y0, double x1, double y1);

    int m_colorIndex;
    int m_highlight;
    int m_nVectors = 0;
};
