// KyDbSymbElevation: the framework's site elevation mark ("VORN_SYMB_ELEVATION"): a triangle
// standing on its tip at the location, a line along its top and the elevation text on the
// line, sized in plotted millimetres times the drawing's plot factor.
#pragma once

#include <string>

#include "framework/core/KyDbEntity.h"

class KyDbSymbElevation : public KyDbEntWithText {
    ACRX_DECLARE_MEMBERS(KyDbSymbElevation)
public:
    // Height of the triangle in plotted millimetres.
    static constexpr double kTriangleHeight = 3.0;

    KyDbSymbElevation() = default;
    KyDbSymbElevation(const AcGePoint3d& location, const wchar_t* elevationText, bool prec2 = true);
    KyDbSymbElevation(const KyDbSymbElevation&) = default;

    AcGePoint3d GetLocation() const { return m_ptLocation; }
    Acad::ErrorStatus SetLocation(const AcGePoint3d& p);
    const std::wstring& GetElevationText() const { return m_strElevation; }
    void SetElevationText(const wchar_t* text);
    // True when elevations are written with two decimals, false for three.
    bool IsPrec2() const { return m_bPrec2; }
    void SetPrec2(bool prec2) { if (assertWriteEnabled()) m_bPrec2 = prec2; }
    // value formatted with two or three decimals by the symbol's precision.
    std::wstring FormatElevation(double value) const;

    void OnExplode(KyGiStream& stream) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Location (1010), elevation text (1000), two-decimal flag (1070); then text height
    // (1040), text colour (1070), layout angle (1040) and text style name (1000), optional.
    void writeFields(std::vector<AcDbXDataItem>& fields) const override;
    Acad::ErrorStatus readFields(const std::vector<AcDbXDataItem>& fields) override;
    std::wstring list() const override;
    AcRxObject* clone() const override { return new KyDbSymbElevation(*this); }

private:
    AcGePoint3d m_ptLocation;
    std::wstring m_strElevation;
    bool m_bPrec2 = true;
};
