// Jigs: a drag that shows a preview entity while the cursor moves. drag() calls the subclass's
// sampler for every cursor move (~x,y) and once more for the final answer; after a sampler
// that reports a change it calls update, and the preview entity is what @snapshot draws.
#pragma once

#include <string>

#include "host/ed/jigbase.h"

class AcEdJig {
public:
    enum UserInputControls {
        kGovernedByOrthoMode = 0x0001,
        kNullResponseAccepted = 0x0002,
        kDontEchoCancelForCtrlC = 0x0004,
        kDontUpdateLastPoint = 0x0008,
        kNoDwgLimitsChecking = 0x0010,
        kNoZeroResponseAccepted = 0x0020,
        kNoNegativeResponseAccepted = 0x0040,
        kAccept3dCoordinates = 0x0080,
        kAcceptMouseUpAsPoint = 0x0100,
        kAnyBlankTerminatesInput = 0x0200,
        kInitialBlankTerminatesInput = 0x0400,
        kAcceptOtherInputString = 0x0800,
        kGovernedByUCSDetect = 0x1000,
        kNoZDirectionOrtho = 0x2000,
        kImpliedFaceForUCSChange = 0x4000,
        kUseBasePointElevation = 0x8000,
    };

    enum DragStatus {
        kModeless = -17,
        kNoChange = -6,
        kCancel = -4,
        kOther = -3,
        kNull = -1,
        kNormal = 0,
        kKW1 = 1,
        kKW2,
        kKW3,
        kKW4,
        kKW5,
        kKW6,
        kKW7,
        kKW8,
        kKW9,
    };

    enum CursorType {
        kNoSpecialCursor = -1,
        kCrosshair = 0,
        kRectCursor,
        kRubberBand,
        kNotRotated,
        kTargetBox,
        kRotatedCrosshair,
        kCrosshairNoRotate,
        kInvisible,
        kEntitySelect,
        kParallelogram,
        kEntitySelectNoPersp,
        kPkfirstOrGrips,
        kCrosshairDashed,
    };

    AcEdJig();
    virtual ~AcEdJig();
    AcEdJig(const AcEdJig&) = delete;
    AcEdJig& operator=(const AcEdJig&) = delete;

    // Runs the drag: kNormal for a final point (also when the last sampler saw no change),
    // kNull for Enter (when accepted), kCancel for Esc, kKW1... for a keyword, kOther for
    // other text (when accepted).
    DragStatus drag();
    virtual DragStatus sampler();
    virtual bool update();
    virtual AcDbEntity* entity() const;
    // Adds entity() to model space (the drawing takes it over); null id when there is none.
    AcDbObjectId append();

    // Each reads the next answer: a cursor move gives kNormal with the cursor position (world
    // coordinates); a final point gives kNormal too, and drag() then ends.
    DragStatus acquirePoint(AcGePoint3d& point);
    DragStatus acquirePoint(AcGePoint3d& point, const AcGePoint3d& basePoint);
    DragStatus acquireDist(double& distance);
    DragStatus acquireDist(double& distance, const AcGePoint3d& basePoint);
    DragStatus acquireAngle(double& angle);
    DragStatus acquireAngle(double& angle, const AcGePoint3d& basePoint);
    DragStatus acquireString(wchar_t (&text)[2049]);

    const wchar_t* keywordList() const { return m_keywords.c_str(); }
    void setKeywordList(const wchar_t* keywords) { m_keywords = keywords ? keywords : L""; }
    const wchar_t* dispPrompt() const { return m_prompt.c_str(); }
    void setDispPrompt(const wchar_t* prompt, ...);
    UserInputControls userInputControls() const { return static_cast<UserInputControls>(m_controls); }
    void setUserInputControls(UserInputControls controls) { m_controls = controls; }
    void setUserInputControls(int controls) { m_controls = controls; }
    CursorType specialCursorType() const { return m_cursor; }
    void setSpecialCursorType(CursorType cursor) { m_cursor = cursor; }

    // The drag in progress, or null.
    static AcEdJig* active();

private:
    enum class Measure { kPoint, kDist, kAngle, kString };
    DragStatus Acquire(Measure what, const AcGePoint3d* base, double out[3], std::wstring* text);
    DragStatus AcquirePoint(AcGePoint3d& point, const AcGePoint3d* base);
    DragStatus AcquireScalar(bool angle, double& value, const AcGePoint3d* base);

    std::wstring m_keywords;
    std::wstring m_prompt;
    int m_controls = 0;
    CursorType m_cursor = kNoSpecialCursor;
    bool m_final = false;     // the answer just acquired ends the drag
    int m_acquired = 0;       // acquisitions during the current sampler call
};
