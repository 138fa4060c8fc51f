// KyAdsEnt: one entity of the drawing picked by the user or named by id, with opening and
// highlighting.
#pragma once

#include "host/db/dbid.h"
#include "host/db/acadstrg.h"
#include "host/ed/adsdefs.h"
#include "host/ge/ge.h"

class AcDbEntity;

class KyAdsEnt {
public:
    KyAdsEnt() = default;
    explicit KyAdsEnt(const AcDbObjectId& id) : m_id(id) {}
    explicit KyAdsEnt(const ads_name name);

    // Asks for one entity the filter admits (filter may be null). RTNORM with the entity
    // and its pick point; RTNONE on Enter; RTCAN on Esc; RTKWORD for a keyword of the
    // acedInitGet before it. On anything but RTNORM the entity is left as it was.
    int Select(const wchar_t* prompt, const resbuf* filter = nullptr);
    // Opens the entity (null when it cannot be opened); the caller closes it.
    AcDbEntity* Open(AcDb::OpenMode mode = AcDb::kForRead) const;
    AcDbObjectId GetObjectId() const { return m_id; }
    void SetObjectId(const AcDbObjectId& id) { m_id = id; }
    bool IsNull() const { return m_id.isNull(); }
    // RTNORM with the entity's name; RTERROR for no entity.
    int GetAdsName(ads_name name) const;
    // The point the entity was picked at, user coordinates.
    AcGePoint3d GetPickPoint() const { return m_ptPick; }
    // 3 highlights, 4 takes the highlight away; others give RTREJ.
    int Redraw(int mode) const;
    // Whether an entity is shown highlighted (as Redraw left it).
    static bool IsHighlighted(const AcDbObjectId& id);

private:
    AcDbObjectId m_id;
    AcGePoint3d m_ptPick;
};
