// AcDbText (single-line TEXT) and AcDbMText (paragraph text, read from drawing files and drawn
// line by line).
#pragma once

#include <string>

#include "host/db/dbentity.h"

class AcDbText : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbText)
public:
    AcDbText() = default;
    AcDbText(const AcGePoint3d& position, const wchar_t* text, const AcDbObjectId& style = AcDbObjectId::kNull,
             double height = 0.0, double rotation = 0.0);
    AcDbText(const AcDbText&) = default;

    // The insertion point: where left-aligned base-line text starts.
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    // The point other alignments hold the text to.
    AcGePoint3d alignmentPoint() const { return m_alignment; }
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& p);
    bool isDefaultAlignment() const { return m_hmode == AcDb::kTextLeft && m_vmode == AcDb::kTextBase; }
    double height() const { return m_height; }
    // Negative or non-finite heights are refused (0 is kept: the style's height counts then).
    Acad::ErrorStatus setHeight(double h);
    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double r);
    double widthFactor() const { return m_widthFactor; }
    Acad::ErrorStatus setWidthFactor(double w);
    double oblique() const { return m_oblique; }
    Acad::ErrorStatus setOblique(double a);
    const wchar_t* textString() const { return m_text.c_str(); }
    const std::wstring& textStringW() const { return m_text; }
    Acad::ErrorStatus setTextString(const wchar_t* text);
    AcDb::TextHorzMode horizontalMode() const { return m_hmode; }
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
    AcDb::TextVertMode verticalMode() const { return m_vmode; }
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
    AcDbObjectId textStyle() const { return m_style; }
    Acad::ErrorStatus setTextStyle(const AcDbObjectId& style);
    AcGeVector3d normal() const { return AcGeVector3d::kZAxis; }
    // The height drawn: this height, or the style's fixed height when this one is 0, or 2.5.
    double effectiveHeight() const;
    // The data the text draws with.
    AcGiTextData textData() const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* draw) const override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new AcDbText(*this); }
    bool isFiniteObject() const override;
    void remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) override;

private:
    AcGePoint3d m_position, m_alignment;
    double m_height = 0.0;
    double m_rotation = 0.0;
    double m_widthFactor = 1.0;
    double m_oblique = 0.0;
    std::wstring m_text;
    AcDb::TextHorzMode m_hmode = AcDb::kTextLeft;
    AcDb::TextVertMode m_vmode = AcDb::kTextBase;
    AcDbObjectId m_style;
};

class AcDbMText : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbMText)
public:
    enum AttachmentPoint {
        kTopLeft = 1, kTopCenter = 2, kTopRight = 3,
        kMiddleLeft = 4, kMiddleCenter = 5, kMiddleRight = 6,
        kBottomLeft = 7, kBottomCenter = 8, kBottomRight = 9,
    };

    AcDbMText() = default;
    AcDbMText(const AcDbMText&) = default;

    AcGePoint3d location() const { return m_location; }
    Acad::ErrorStatus setLocation(const AcGePoint3d& p);
    double textHeight() const { return m_height; }
    Acad::ErrorStatus setTextHeight(double h);
    // The reference width of the paragraph (0: no wrapping).
    double width() const { return m_width; }
    Acad::ErrorStatus setWidth(double w);
    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double r);
    // The contents with their formatting codes, as in the file.
    const wchar_t* contents() const { return m_contents.c_str(); }
    Acad::ErrorStatus setContents(const wchar_t* text);
    // The plain text: formatting codes removed, paragraph breaks as '\n'.
    std::wstring text() const;
    AttachmentPoint attachment() const { return m_attachment; }
    Acad::ErrorStatus setAttachment(AttachmentPoint a);
    AcDbObjectId textStyle() const { return m_style; }
    Acad::ErrorStatus setTextStyle(const AcDbObjectId& style);

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // One AcDbText per line.
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* draw) const override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new AcDbMText(*this); }
    bool isFiniteObject() const override;
    void remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) override;

private:
    AcGePoint3d m_location;
    double m_height = 2.5;
    double m_width = 0.0;
    double m_rotation = 0.0;
    std::wstring m_contents;
    AttachmentPoint m_attachment = kTopLeft;
    AcDbObjectId m_style;
};
