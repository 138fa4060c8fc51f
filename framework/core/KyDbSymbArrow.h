// KyDbSymbArrow: the framework's arrow symbol ("VORN_SYMB_ARROW"): a polyline with an arrow
// head at its end and two texts laid along it, text 1 above and text 2 below the line.
#pragma once

#include <string>
#include <vector>

#include "framework/core/KyDbEntity.h"
#include "host/db/dbbulge.h"

class KyGePolyline2d;

class KyDbSymbArrow : public KyDbEntWithText {
    ACRX_DECLARE_MEMBERS(KyDbSymbArrow)
public:
    // Arrow heads, drawn at the polyline's last vertex pointing along its last segment.
    enum ArrowType { kNoHead = 0, kFilledHead = 1, kOpenHead = 2 };
    // Where the texts sit along the polyline.
    enum TextAlignment { kAtStart = 0, kAtEnd = 1, kAtMiddle = 2 };

    KyDbSymbArrow() = default;
    KyDbSymbArrow(const KyDbSymbArrow&) = default;

    // The arrow's path (copied; arcs of the polyline are kept as bulges).
    Acad::ErrorStatus SetPolyline(const KyGePolyline2d& polyline);
    // The same from host vertices; fewer than two distinct points give eInvalidInput.
    Acad::ErrorStatus SetVertices(const std::vector<vorn::db::BulgeVertex>& vertices);
    const std::vector<vorn::db::BulgeVertex>& GetVertices() const { return m_vertices; }

    const std::wstring& GetText1() const { return m_strText1; }
    const std::wstring& GetText2() const { return m_strText2; }
    void SetText1(const wchar_t* text);
    void SetText2(const wchar_t* text);
    int GetTextAlignment() const { return m_nTextAlignment; }
    Acad::ErrorStatus SetTextAlignment(int alignment);  // 0 to 2
    int GetArrowType() const { return m_nArrowType; }
    Acad::ErrorStatus SetArrowType(int type);  // 0 to 2
    // Length of the head in plotted millimetres (times the plot factor when drawn).
    double GetArrowSize() const { return m_dArrowSize; }
    Acad::ErrorStatus SetArrowSize(double size);

    // Lays the texts out anew from the path, alignment, height and layout angle: each text is
    // turned along the segment it sits on and kept readable against the layout angle.
    void ResetTextPos();
    // Where the texts stand after ResetTextPos (the middle of each text's base line region).
    AcGePoint3d GetText1Position() const { return m_ptText1; }
    AcGePoint3d GetText2Position() const { return m_ptText2; }
    double GetTextRotation() const { return m_dTextRotation; }

    void OnExplode(KyGiStream& stream) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Text 1, text 2 (1000); each vertex (1010), followed by its bulge (1041) when it has one;
    // arrow type (1070), arrow size (1040), text alignment (1070), text colour (1070), text
    // height (1040), layout angle (1040); then the text style name (1000, optional).
    void writeFields(std::vector<AcDbXDataItem>& fields) const override;
    Acad::ErrorStatus readFields(const std::vector<AcDbXDataItem>& fields) override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new KyDbSymbArrow(*this); }

private:
    std::vector<vorn::db::BulgeVertex> m_vertices;
    std::wstring m_strText1, m_strText2;
    int m_nTextAlignment = kAtMiddle;
    int m_nArrowType = kFilledHead;
    double m_dArrowSize = 2.0;
    AcGePoint3d m_ptText1, m_ptText2;
    double m_dTextRotation = 0.0;
};
