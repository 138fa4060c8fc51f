// VornEdJig: the framework's jig base over the host's AcEdJig. Subclasses supply sampler,
// update and entity; the preview shown while the cursor moves (and drawn by @snapshot) is the
// entity's own drawing, so a framework entity previews exactly as it will be drawn.
#pragma once

#include "host/ed/jig.h"

class VornEdJig : public AcEdJig {
public:
    VornEdJig() = default;
    ~VornEdJig() override;

    // acedInitGet(0, keywords) and the jig's keyword list when keywords is given, then drag(); the status as a host code:
    // kNormal → RTNORM, kNull → RTNONE, kCancel → RTCAN, a keyword or other text → RTKWORD.
    int DragForResult(const wchar_t* keywords = nullptr);
    static int ToResultCode(DragStatus status);

    // The last point a sampler took through AcquirePointOnce (world), and whether it moved.
    const AcGePoint3d& LastSample() const { return m_ptLast; }

protected:
    // acquirePoint that reports kNoChange when the cursor stands where it stood last time,
    // so update is not run for nothing.
    DragStatus AcquirePointOnce(AcGePoint3d& point);
    DragStatus AcquirePointOnce(AcGePoint3d& point, const AcGePoint3d& base);

private:
    AcGePoint3d m_ptLast;
    bool m_bHaveLast = false;
};
