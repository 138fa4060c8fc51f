// AcDbObject: what every object of a drawing database has (id, owner, erased flag, XDATA per
// application) and the open/close protocol that guards changes and feeds the undo log.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/db/acadstrg.h"
#include "host/db/dbid.h"
#include "host/db/rxobject.h"
#include "host/ge/ge.h"

// One typed item of extended data or of a framework entity's saved fields. code is the
// drawing-file group code that says which value counts: 1000-1009 strings, 1010-1059 points,
// 1040-1042 reals, 1070/1071 integers (1002 "{" / "}" braces are strings too).
struct AcDbXDataItem {
    int code = 1000;
    std::wstring str;
    double real = 0.0;
    int integer = 0;
    AcGePoint3d point;

    static AcDbXDataItem string(const std::wstring& s, int code = 1000) { AcDbXDataItem i; i.code = code; i.str = s; return i; }
    static AcDbXDataItem number(double v, int code = 1040) { AcDbXDataItem i; i.code = code; i.real = v; return i; }
    static AcDbXDataItem integer16(int v, int code = 1070) { AcDbXDataItem i; i.code = code; i.integer = v; return i; }
    static AcDbXDataItem position(const AcGePoint3d& p, int code = 1010) { AcDbXDataItem i; i.code = code; i.point = p; return i; }

    enum Kind { kString, kPoint, kReal, kInteger };
    // The kind the code stands for.
    Kind kind() const;
    static Kind kindOfCode(int code);
    bool isFinite() const;
    bool operator==(const AcDbXDataItem& o) const;
    bool operator!=(const AcDbXDataItem& o) const { return !(*this == o); }
};
using AcDbXDataItems = std::vector<AcDbXDataItem>;

class AcDbObject;
struct AcDbKeptData;
namespace vorn::db::detail {
void SetErased(AcDbObject& object, bool erased);
}

class AcDbObject : public AcRxObject {
    ACRX_DECLARE_MEMBERS(AcDbObject)
public:
    AcDbObject() = default;
    AcDbObject(const AcDbObject& other);             // copies content, never database residency
    AcDbObject& operator=(const AcDbObject&) = delete;
    ~AcDbObject() override;

    AcDbObjectId objectId() const { return m_id; }
    AcDbObjectId ownerId() const { return m_ownerId; }
    // The database the object lives in, null before it is appended.
    AcDbDatabase* database() const { return m_id.database(); }
    bool isDatabaseResident() const { return !m_id.isNull(); }
    bool isErased() const { return m_erased; }

    // Erases (or with false brings back) the object; it must be open for write. The object
    // stays in the database, flagged, until purge, so undo can bring it back.
    Acad::ErrorStatus erase(bool erasing = true);

    bool isReadEnabled() const;
    bool isWriteEnabled() const;
    bool isNotifyEnabled() const { return false; }
    // Setters call this. It is true for an object outside a database and for one open for
    // write; for a database object open only for read it reports the misuse on standard error
    // and returns false, and the setter then changes nothing.
    bool assertWriteEnabled() const;
    bool assertReadEnabled() const { return true; }

    // Turns the only read opening into a write opening (eWasOpenForRead when others read too).
    Acad::ErrorStatus upgradeOpen();
    // Turns the write opening into a read opening; the change is recorded as at close.
    Acad::ErrorStatus downgradeOpen();
    // Ends one opening. A write opening that leaves non-finite values in the object is put
    // back to its state at open and close reports eInvalidInput; nothing is recorded then.
    // For an object not in a database close does nothing and reports eNotInDatabase.
    Acad::ErrorStatus close();

    // Extended data of one application, in the order set; empty when there is none.
    AcDbXDataItems xData(const std::wstring& app) const;
    // Sets (or with an empty list removes) the data of one application; the object must be
    // writable; non-finite values are refused with eInvalidInput.
    Acad::ErrorStatus setXData(const std::wstring& app, const AcDbXDataItems& items);
    // The applications with data, in the order first set.
    std::vector<std::wstring> xDataApplications() const;
    const std::vector<std::pair<std::wstring, AcDbXDataItems>>& allXData() const { return m_xdata; }

    // What the drawing file held of this object beyond what the host models (host/db/dbkept.h);
    // null when nothing. Shared between copies and undo states, never changed in place.
    const AcDbKeptData* keptData() const { return m_kept.get(); }
    const std::shared_ptr<const AcDbKeptData>& sharedKeptData() const { return m_kept; }
    // Replaces it; the object must be writable.
    Acad::ErrorStatus setKeptData(std::shared_ptr<const AcDbKeptData> data);

    // A copy outside any database, with the same content (including XDATA, not the id).
    AcRxObject* clone() const override;

    // True when every number the object holds is finite: the database refuses others.
    virtual bool isFiniteObject() const;
    // Replaces ids of another database by ids of this one, for copying between databases
    // (layers, styles, blocks): map gives the new id for an old one.
    virtual void remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map);

    // For the database only: sets residency when the object is appended or restored.
    void vornSetResidency(const AcDbObjectId& id, const AcDbObjectId& owner);
    void vornSetOwner(const AcDbObjectId& owner) { m_ownerId = owner; }

protected:
    // Copies the base content of other (XDATA, erase flag left alone) for clone overrides.
    void copyBaseFrom(const AcDbObject& other);
    bool xDataFinite() const;

private:
    friend class AcDbDatabase;
    friend void vorn::db::detail::SetErased(AcDbObject& object, bool erased);
    AcDbObjectId m_id;
    AcDbObjectId m_ownerId;
    bool m_erased = false;
    std::vector<std::pair<std::wstring, AcDbXDataItems>> m_xdata;
    std::shared_ptr<const AcDbKeptData> m_kept;
};

// Opening objects of a database by id: any number of readers or one writer. Erased objects
// open only when openErased is true (eWasErased otherwise).
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, const AcDbObjectId& id, AcDb::OpenMode mode,
                                     bool openErased = false);

template <class T>
Acad::ErrorStatus acdbOpenObject(T*& object, const AcDbObjectId& id, AcDb::OpenMode mode, bool openErased = false) {
    object = nullptr;
    AcDbObject* raw = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(raw, id, mode, openErased);
    if (es != Acad::eOk) return es;
    object = T::cast(raw);
    if (!object) {
        raw->close();
        return Acad::eNotThatKindOfClass;
    }
    return Acad::eOk;
}
