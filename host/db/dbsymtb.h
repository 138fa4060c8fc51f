// Symbol tables and their records: layers, line types, text styles and blocks. Names compare
// without regard to case, as CAD does; a table lists its records in the order they were added.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/db/dbcolor.h"
#include "host/db/dbobject.h"

class AcDbEntity;
class AcDbBlockTableRecordIterator;
class AcDbSymbolTable;
class AcDbSymbolTableRecord;

namespace vorn::db {
Acad::ErrorStatus AddRecordAsRead(AcDbSymbolTable* table, AcDbSymbolTableRecord* record, const std::wstring& name,
                                  AcDbObjectId& id);
}

// ---- records ----

class AcDbSymbolTableRecord : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord)
public:
    AcDbSymbolTableRecord() = default;
    AcDbSymbolTableRecord(const AcDbSymbolTableRecord&) = default;

    const wchar_t* getName() const { return m_name.c_str(); }
    Acad::ErrorStatus getName(std::wstring& name) const { name = m_name; return Acad::eOk; }
    const std::wstring& name() const { return m_name; }
    // A valid name is not empty and holds none of <>/\":;?*|,=` nor control characters ('*'
    // may lead a block name: "*U2", "*Model_Space"). eInvalidInput otherwise; renaming onto a
    // name the table already has gives eDuplicateKey.
    Acad::ErrorStatus setName(const wchar_t* name);

protected:
    friend class AcDbSymbolTable;
    friend Acad::ErrorStatus vorn::db::AddRecordAsRead(AcDbSymbolTable*, AcDbSymbolTableRecord*, const std::wstring&,
                                                       AcDbObjectId&);
    std::wstring m_name;
};

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord)
public:
    AcDbLayerTableRecord() { m_color.setColorIndex(7); }
    AcDbLayerTableRecord(const AcDbLayerTableRecord&) = default;

    AcCmColor color() const { return m_color; }
    // ByLayer and ByBlock are no layer colours: eInvalidInput.
    Acad::ErrorStatus setColor(const AcCmColor& color);
    AcDbObjectId linetypeObjectId() const { return m_linetype; }
    Acad::ErrorStatus setLinetypeObjectId(const AcDbObjectId& id);
    bool isOff() const { return m_off; }
    void setIsOff(bool off);
    bool isFrozen() const { return m_frozen; }
    Acad::ErrorStatus setIsFrozen(bool frozen);
    bool isLocked() const { return m_locked; }
    void setIsLocked(bool locked);
    bool isHidden() const { return false; }
    bool isPlottable() const { return m_plottable; }
    void setIsPlottable(bool p);

    AcRxObject* clone() const override { return new AcDbLayerTableRecord(*this); }
    void remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) override;

private:
    AcCmColor m_color;
    AcDbObjectId m_linetype;
    bool m_off = false, m_frozen = false, m_locked = false, m_plottable = true;
};

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord)
public:
    AcDbLinetypeTableRecord() = default;
    AcDbLinetypeTableRecord(const AcDbLinetypeTableRecord&) = default;

    const wchar_t* comments() const { return m_comments.c_str(); }
    void setComments(const wchar_t* text);
    // Dashes in drawing units: positive drawn, negative gaps, 0 dots. Empty: continuous.
    const std::vector<double>& dashes() const { return m_dashes; }
    Acad::ErrorStatus setDashes(const std::vector<double>& dashes);
    int numDashes() const { return static_cast<int>(m_dashes.size()); }
    double dashLengthAt(int index) const;
    double patternLength() const;

    AcRxObject* clone() const override { return new AcDbLinetypeTableRecord(*this); }
    bool isFiniteObject() const override;

private:
    std::wstring m_comments;
    std::vector<double> m_dashes;
};

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord)
public:
    AcDbTextStyleTableRecord() = default;
    AcDbTextStyleTableRecord(const AcDbTextStyleTableRecord&) = default;

    const wchar_t* fileName() const { return m_font.c_str(); }
    Acad::ErrorStatus setFileName(const wchar_t* font);
    const wchar_t* bigFontFileName() const { return m_bigFont.c_str(); }
    Acad::ErrorStatus setBigFontFileName(const wchar_t* font);
    // The fixed height (0: each text gives its own).
    double textSize() const { return m_size; }
    Acad::ErrorStatus setTextSize(double size);
    double xScale() const { return m_xScale; }
    Acad::ErrorStatus setXScale(double widthFactor);
    double obliquingAngle() const { return m_oblique; }
    Acad::ErrorStatus setObliquingAngle(double a);
    double priorSize() const { return m_prior; }
    Acad::ErrorStatus setPriorSize(double size);

    AcRxObject* clone() const override { return new AcDbTextStyleTableRecord(*this); }
    bool isFiniteObject() const override;

private:
    std::wstring m_font = L"txt";
    std::wstring m_bigFont;
    double m_size = 0.0, m_xScale = 1.0, m_oblique = 0.0, m_prior = 2.5;
};

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
    ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord)
public:
    AcDbBlockTableRecord() = default;
    AcDbBlockTableRecord(const AcDbBlockTableRecord&) = default;

    AcGePoint3d origin() const { return m_origin; }
    Acad::ErrorStatus setOrigin(const AcGePoint3d& p);
    const wchar_t* comments() const { return m_comments.c_str(); }
    void setComments(const wchar_t* text);
    // "*U..." blocks; "*Model_Space" and "*Paper_Space" are layouts, not anonymous.
    bool isAnonymous() const;
    bool isLayout() const;
    bool isModelSpace() const;

    // Takes ownership of a new entity (not in any database) and gives it an id. The record must
    // be open for write and in a database. The entity is then open for write: close it. An entity
    // with a non-finite value is refused with eInvalidInput and stays the caller's.
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity);
    // The owned entities in database order (erased ones only when asked).
    AcDbObjectIdArray entityIds(bool includeErased = false) const;
    bool hasEntities() const;
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;

    AcRxObject* clone() const override { return new AcDbBlockTableRecord(*this); }
    bool isFiniteObject() const override;

private:
    AcGePoint3d m_origin;
    std::wstring m_comments;
};

class AcDbBlockTableRecordIterator {
public:
    AcDbBlockTableRecordIterator(AcDbObjectIdArray ids) : m_ids(std::move(ids)) {}
    void start(bool atBeginning = true) { m_pos = atBeginning ? 0 : m_ids.length() - 1; }
    bool done() const { return m_pos < 0 || m_pos >= m_ids.length(); }
    void step(bool forward = true) { m_pos += forward ? 1 : -1; }
    Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErased = false) const;

private:
    AcDbObjectIdArray m_ids;
    int m_pos = 0;
};

// ---- tables ----

class AcDbSymbolTableIterator;

class AcDbSymbolTable : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbSymbolTable)
public:
    AcDbSymbolTable() = default;
    AcDbSymbolTable(const AcDbSymbolTable&) = default;

    // Look-up by name (case-insensitive); erased records only when asked.
    Acad::ErrorStatus getAt(const wchar_t* name, AcDbObjectId& id, bool getErased = false) const;
    Acad::ErrorStatus getAt(const wchar_t* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                            bool openErased = false) const;
    bool has(const wchar_t* name) const;
    bool has(const AcDbObjectId& id) const;
    // Adds a new record (not in a database); the table must be open for write. The record is
    // then open for write: close it. eDuplicateKey for a taken name, eInvalidInput for a bad
    // one or a record of the wrong kind. A block named "*U" gets the next free "*U<n>".
    Acad::ErrorStatus add(AcDbObjectId& id, AcDbSymbolTableRecord* record);
    Acad::ErrorStatus add(AcDbSymbolTableRecord* record);
    // The record ids in order (erased ones only when asked).
    AcDbObjectIdArray recordIds(bool includeErased = false) const;
    Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;

    AcRxObject* clone() const override;

protected:
    friend Acad::ErrorStatus vorn::db::AddRecordAsRead(AcDbSymbolTable*, AcDbSymbolTableRecord*, const std::wstring&,
                                                       AcDbObjectId&);
    // The record class this table holds.
    virtual AcRxClass* recordClass() const = 0;
};

class AcDbSymbolTableIterator {
public:
    AcDbSymbolTableIterator(AcDbObjectIdArray ids) : m_ids(std::move(ids)) {}
    void start(bool atBeginning = true) { m_pos = atBeginning ? 0 : m_ids.length() - 1; }
    bool done() const { return m_pos < 0 || m_pos >= m_ids.length(); }
    void step(bool forward = true) { m_pos += forward ? 1 : -1; }
    Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
    Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode, bool openErased = false) const;

private:
    AcDbObjectIdArray m_ids;
    int m_pos = 0;
};

#define VORN_DB_DECLARE_TABLE(TABLE, RECORD)                                                 \
    class TABLE : public AcDbSymbolTable {                                                   \
        ACRX_DECLARE_MEMBERS(TABLE)                                                          \
    public:                                                                                  \
        using AcDbSymbolTable::getAt;                                                        \
        Acad::ErrorStatus getAt(const wchar_t* name, RECORD*& record, AcDb::OpenMode mode,   \
                                bool openErased = false) const;                              \
        AcRxObject* clone() const override { return new TABLE(*this); }                      \
                                                                                             \
    protected:                                                                               \
        AcRxClass* recordClass() const override { return RECORD::desc(); }                   \
    };

VORN_DB_DECLARE_TABLE(AcDbLayerTable, AcDbLayerTableRecord)
VORN_DB_DECLARE_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord)
VORN_DB_DECLARE_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord)
VORN_DB_DECLARE_TABLE(AcDbBlockTable, AcDbBlockTableRecord)

// The names of the two layout blocks and of the standard records.
#define ACDB_MODEL_SPACE L"*Model_Space"
#define ACDB_PAPER_SPACE L"*Paper_Space"

namespace vorn::db {
// Case-insensitive name equality as symbol tables use it (ASCII letters fold; others compare
// exactly, so Chinese names are case-less).
bool SameSymbolName(const std::wstring& a, const std::wstring& b);
std::wstring FoldSymbolName(const std::wstring& name);
// The dash pattern of a standard line type name (CONTINUOUS, CENTER, DASHED, HIDDEN, PHANTOM,
// DOT, DASHDOT, BORDER, DIVIDE), in millimetres; false for other names.
bool StandardLinetypePattern(const std::wstring& name, std::vector<double>& dashes, std::wstring& comments);
}  // namespace vorn::db
