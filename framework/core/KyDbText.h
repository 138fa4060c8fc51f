// KyDbText: the framework's single-line text ("VORN_TEXT"): content, position, an alignment
// code, a height in drawing units or in plotted millimetres, rotation and style. Saved as a
// TEXT with the framework's extended data.
#pragma once

#include <string>

#include "framework/core/KyDbEntity.h"

class AcDbText;

// Alignment codes of framework texts: how the text sits against its position.
//
// | code | horizontal | vertical  |      | code | horizontal | vertical |
// |------|------------|-----------|------|------|------------|----------|
// | 0    | left       | base line |      | 6    | left       | top      |
// | 1    | centre     | base line |      | 7    | centre     | top      |
// | 2    | right      | base line |      | 8    | right      | top      |
// | 3    | left       | bottom    |      | 9    | left       | middle   |
// | 4    | centre     | bottom    |      | 10   | centre     | middle   |
// | 5    | right      | bottom    |      | 11   | right      | middle   |
//
// So 9 starts a text at its point, level with it; 10 centres it on its point.
struct KyGiText {
    enum TextAlignment {
        kLeftBase = 0, kCenterBase = 1, kRightBase = 2,
        kLeftBottom = 3, kCenterBottom = 4, kRightBottom = 5,
        kLeftTop = 6, kCenterTop = 7, kRightTop = 8,
        kLeftMiddle = 9, kCenterMiddle = 10, kRightMiddle = 11,
    };
    static bool IsValidAlignment(int code) { return code >= kLeftBase && code <= kRightMiddle; }
};

class KyDbText : public KyDbEntity {
    ACRX_DECLARE_MEMBERS(KyDbText)
public:
    // Height flags: 0 the height is in drawing units, 1 in plotted millimetres (drawn at the
    // height times the drawing's plot factor, KyDbGetPlotFactor).
    enum HeightFlag { kDrawingUnits = 0, kPlotted = 1 };

    KyDbText() = default;
    KyDbText(const AcGePoint3d& position, const wchar_t* text, int alignment = KyGiText::kLeftBase);
    KyDbText(const KyDbText&) = default;

    const std::wstring& GetText() const { return m_strText; }
    void SetText(const wchar_t* text);
    AcGePoint3d GetPosition() const { return m_ptPosition; }
    Acad::ErrorStatus SetPosition(const AcGePoint3d& p);
    int GetAlignment() const { return m_nAlignment; }
    // Codes outside the table above give eInvalidInput and change nothing.
    Acad::ErrorStatus SetAlignment(int code);
    double GetTextHeight() const { return m_dHeight; }
    int GetHeightFlag() const { return m_nHeightFlag; }
    // height positive and finite, flag 0 or 1; eInvalidInput otherwise.
    Acad::ErrorStatus SetTextHeight(double height, int flag = kDrawingUnits);
    double GetRotation() const { return m_dRotation; }
    Acad::ErrorStatus SetRotation(double rotation);
    // Null: the drawing's current text style.
    AcDbObjectId GetTextStyle() const;
    Acad::ErrorStatus SetTextStyle(const AcDbObjectId& style);

    // The height drawn, in drawing units, for the drawing db (null: the text's own database,
    // else the working drawing).
    double GetDrawHeight(AcDbDatabase* db = nullptr) const;
    // A new host text that looks the same (layer and colour included), owned by the caller.
    AcDbText* AsAcDbText(AcDbDatabase* db = nullptr) const;

    void OnExplode(KyGiStream& stream) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Content (1000), position (1010), alignment (1070), height (1040), height flag (1070),
    // rotation (1040), style name (1000, empty for the current style).
    void writeFields(std::vector<AcDbXDataItem>& fields) const override;
    Acad::ErrorStatus readFields(const std::vector<AcDbXDataItem>& fields) override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new KyDbText(*this); }
    void remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) override;

private:
    std::wstring m_strText;
    AcGePoint3d m_ptPosition;
    int m_nAlignment = KyGiText::kLeftBase;
    double m_dHeight = 2.5;
    int m_nHeightFlag = kDrawingUnits;
    double m_dRotation = 0.0;
    AcDbObjectId m_idStyle;
    std::wstring m_strStyleName;  // a saved style name not yet found in a drawing
};
