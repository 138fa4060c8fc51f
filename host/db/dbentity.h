// AcDbEntity: a drawable object of a block (model space or a block definition): layer, colour,
// line type, extents, transformation, explode, drawing and the saved fields of custom classes.
#pragma once

#include <string>
#include <vector>

#include "host/db/dbcolor.h"
#include "host/db/dbextents.h"
#include "host/db/dbobject.h"
#include "host/db/gi.h"

class AcDbEntity : public AcDbObject {
    ACRX_DECLARE_MEMBERS(AcDbEntity)
public:
    AcDbEntity() = default;
    AcDbEntity(const AcDbEntity& other) = default;

    // The layer: null until set; an entity appended without one goes on the current layer.
    AcDbObjectId layerId() const { return m_layerId; }
    // The layer's name ("" while unknown).
    std::wstring layer() const;
    // id must name a layer record (eInvalidInput otherwise). The two flags are kept for the
    // calls that pass them; a block reference's sub-entities keep their own layers here.
    Acad::ErrorStatus setLayer(const AcDbObjectId& layerId, bool doSubents = true, bool allowHiddenLayer = false);
    // By name, in the entity's database or else the working database (eKeyNotFound when absent).
    Acad::ErrorStatus setLayer(const wchar_t* layerName, bool doSubents = true);

    AcCmColor color() const { return m_color; }
    Acad::ErrorStatus setColor(const AcCmColor& color, bool doSubents = true);
    std::uint16_t colorIndex() const { return m_color.colorIndex(); }
    // 0 to 256; others give eOutOfRange.
    Acad::ErrorStatus setColorIndex(std::uint16_t aci, bool doSubents = true);

    // Line type by name ("ByLayer" by default).
    std::wstring linetype() const { return m_linetype; }
    Acad::ErrorStatus setLinetype(const wchar_t* name, bool doSubents = true);
    double linetypeScale() const { return m_linetypeScale; }
    // Positive and finite, else eInvalidInput.
    Acad::ErrorStatus setLinetypeScale(double scale, bool doSubents = true);

    // Layer "0" or the current layer of db, colour ByLayer, line type ByLayer.
    void setDatabaseDefaults(AcDbDatabase* db = nullptr);
    // Copies layer, colour, line type and scale from another entity.
    void setPropertiesFrom(const AcDbEntity* other, bool doSubents = true);

    // The box of the entity's geometry; eInvalidExtents when it has none (empty text).
    virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
    // Moves, turns or scales the entity. Kinds that cannot follow a matrix (an arc under
    // non-uniform scale) answer eCannotScaleNonUniformly and stay as they were.
    virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
    // A transformed copy (null with the status when transformBy would refuse).
    virtual Acad::ErrorStatus getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const;
    // Appends new entities (owned by the caller) that together replace this one; entities that
    // do not break down answer eNotApplicable. The default draws the entity and turns lines,
    // arcs, circles, texts and filled polygons into host entities.
    virtual Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const;
    // Draws the entity into the sink; true when the sink asked to stop.
    virtual bool worldDraw(AcGiWorldDraw* draw) const;
    // Text for the LIST command: one "key: value" line each, starting with the kind and layer.
    virtual std::wstring list() const;

    // Fields of a framework entity as typed items, for the drawing file. The host's own kinds
    // save their data themselves and write nothing here.
    virtual void writeFields(std::vector<AcDbXDataItem>& fields) const;
    // Reads what writeFields wrote; eInvalidInput (and the entity unchanged) when the items do
    // not fit.
    virtual Acad::ErrorStatus readFields(const std::vector<AcDbXDataItem>& fields);

    // An empty string when the geometry is sound; otherwise why not ("zero-length line").
    virtual std::wstring degeneracy() const;

    AcRxObject* clone() const override;
    bool isFiniteObject() const override;
    void remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) override;

protected:
    // The common entity properties as list() lines.
    std::wstring listHeader() const;

private:
    AcDbObjectId m_layerId;
    AcCmColor m_color;
    std::wstring m_linetype = L"ByLayer";
    double m_linetypeScale = 1.0;
};

// Opens an entity: as acdbOpenAcDbObject, eNotAnEntity for other objects.
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, const AcDbObjectId& id, AcDb::OpenMode mode,
                                     bool openErased = false);
