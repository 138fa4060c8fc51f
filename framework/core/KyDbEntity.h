// KyDbEntity: the base of framework and module entities. A subclass writes its geometry into a
// KyGiStream in OnExplode; display, extents, pick distance and explode all come from that.
// KyDbEntWithText adds the text settings shared by the annotation symbols.
#pragma once

#include <cstdint>

#include "host/db/dbcurve.h"

class KyGiStream;

class KyDbEntity : public AcDbCurve {
    ACRX_DECLARE_MEMBERS(KyDbEntity)
public:
    KyDbEntity() = default;
    KyDbEntity(const KyDbEntity&) = default;
    ~KyDbEntity() override;

    // Slots of the drawable interface this plan host does not use; every entity answers 0.
    virtual std::uint32_t DrawableAttributes() const { return 0; }
    virtual int ViewportDrawFlags() const { return 0; }
    // Runs before OnExplode; a non-zero answer means the entity draws nothing at all.
    virtual int OnExplodeBegin(KyGiStream& stream) const;
    // The entity's geometry.
    virtual void OnExplode(KyGiStream& stream) const;
    // Further geometry drawn after OnExplode (marks, helpers); nothing by default.
    virtual void OnExplodeAux(KyGiStream& stream) const;
    // Whether grips are offered; this host edits entities only through their commands.
    virtual bool HasGrips() const { return false; }

    // The reading direction (radians, world) texts and symbols are laid out against.
    double GetLayoutAngle() const { return m_dLayoutAngle; }
    // Non-finite values are refused with eInvalidInput.
    Acad::ErrorStatus SetLayoutAngle(double angle);

    // Runs OnExplodeBegin, OnExplode and OnExplodeAux into the stream.
    void Explode(KyGiStream& stream) const;

    bool worldDraw(AcGiWorldDraw* draw) const override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    // New host entities (lines, arcs, polylines, texts, block references) owned by the caller.
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;

protected:
    double m_dLayoutAngle = 0.0;
};

class KyDbEntWithText : public KyDbEntity {
    ACRX_DECLARE_MEMBERS(KyDbEntWithText)
public:
    KyDbEntWithText() = default;
    KyDbEntWithText(const KyDbEntWithText&) = default;

    // The text style (null: the drawing's current style).
    AcDbObjectId GetTextStyle() const;
    Acad::ErrorStatus SetTextStyle(const AcDbObjectId& style);
    // Colour index of the texts: 0 ByBlock, 1-255, 256 as the entity (the default).
    int GetTextColor() const { return m_nTextColor; }
    Acad::ErrorStatus SetTextColor(int colorIndex);
    // Text height in plotted millimetres; drawn at that times the plot factor
    // (KyDbGetPlotFactor). Positive and finite, else eInvalidInput.
    double GetTextHeight() const { return m_dTextHeight; }
    Acad::ErrorStatus SetTextHeight(double height);

    void remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) override;

protected:
    // The style's name for the saved fields, and its id in db from a saved name.
    std::wstring TextStyleName() const;
    void SetTextStyleName(const std::wstring& name);

    AcDbObjectId m_idTextStyle;
    std::wstring m_strTextStyleName;  // kept until the style can be found by name
    int m_nTextColor = 256;
    double m_dTextHeight = 3.5;
};
