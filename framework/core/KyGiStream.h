// The drawing stream of framework entities: an entity's OnExplode writes geometry objects,
// host entities, framework texts and block placements into it, and the stream's sink either
// draws them through the host's drawing interface or collects them as new host entities.
#pragma once

#include <cstdint>

#include "host/db/dbarray.h"
#include "host/db/dbid.h"
#include "host/ge/ge.h"

class AcDbDatabase;
class AcDbEntity;
class AcGiWorldDraw;
class KyDbText;
class KyGeObject;

// A block placed by a stream: block coordinates are scaled, turned by rotation (radians) and
// moved to position.
struct KyGiBlock {
    KyGiBlock(const AcGePoint3d& position, const AcDbObjectId& blockId, double rotation = 0.0,
              double xScale = 1.0, double yScale = 1.0, double zScale = 1.0);
    AcGePoint3d m_position;
    AcDbObjectId m_blockId;
    double m_rotation;
    double m_xScale, m_yScale, m_zScale;
};

class KyGiStream {
public:
    // The colour index that means "as the owning entity": what a stream starts with.
    static constexpr int kColorOfOwner = 256;

    // owner: the entity whose drawing this is (its layer and colour are inherited; may be
    // null). db: where print scale and text styles come from (null: the owner's database,
    // else the working drawing).
    explicit KyGiStream(const AcDbEntity* owner = nullptr, AcDbDatabase* db = nullptr);
    virtual ~KyGiStream();
    KyGiStream(const KyGiStream&) = delete;
    KyGiStream& operator=(const KyGiStream&) = delete;

    // A bounded curve of the geometry library (segment, arc, circle, polyline), drawn as the
    // host entity KyGe2AcDb makes of it; unbounded lines, points and a null pointer draw nothing.
    KyGiStream& operator<<(const KyGeObject& object);
    KyGiStream& operator<<(const KyGeObject* object);
    // A host entity (copied when collected; never taken over). Null is ignored.
    KyGiStream& operator<<(const AcDbEntity& entity);
    KyGiStream& operator<<(const AcDbEntity* entity);
    // A framework text, drawn at its height in drawing units.
    KyGiStream& operator<<(const KyDbText& text);
    KyGiStream& operator<<(const KyGiBlock& block);

    // The colour index (1-255, 0 ByBlock, 256 as the owner) given to what follows.
    int GetColorIndex() const { return m_colorIndex; }
    // Values outside 0..256 are ignored.
    void SetColorIndex(int colorIndex);

    const AcDbEntity* Owner() const { return m_owner; }
    AcDbDatabase* Database() const;
    // True once the sink wants nothing more (a pick test that found its answer).
    virtual bool IsDone() const { return false; }

protected:
    // Receives each piece as a new host entity with the stream's colour applied and the
    // owner's layer; the sink owns it from then on.
    virtual void Put(AcDbEntity* entity) = 0;
    // Gives a new piece the owner's properties and the stream's colour, then hands it to Put.
    void Deliver(AcDbEntity* entity);

private:
    const AcDbEntity* m_owner;
    AcDbDatabase* m_db;
    int m_colorIndex = kColorOfOwner;
};

// Draws into a host drawing sink (display, pictures, extents, pick distance).
class KyGiDrawStream : public KyGiStream {
public:
    KyGiDrawStream(AcGiWorldDraw* draw, const AcDbEntity* owner = nullptr, AcDbDatabase* db = nullptr);
    bool IsDone() const override;

protected:
    void Put(AcDbEntity* entity) override;

private:
    AcGiWorldDraw* m_draw;
    bool m_stop = false;
};

// Collects new host entities (explode): they go into the array, owned by its holder.
class KyGiExplodeStream : public KyGiStream {
public:
    KyGiExplodeStream(AcDbVoidPtrArray& entities, const AcDbEntity* owner = nullptr, AcDbDatabase* db = nullptr);

protected:
    void Put(AcDbEntity* entity) override;

private:
    AcDbVoidPtrArray& m_entities;
};
