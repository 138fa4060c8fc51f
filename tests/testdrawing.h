// For tests that build a drawing by hand: a new drawing, working for the life of the object,
// and the few calls every such test needs (entities into model space or a block, layers,
// blocks, the entities of one class back).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "host/db/db.h"

namespace vorn::test {

// The model-space entities of class T of a drawing, in drawing order.
template <class T>
std::vector<const T*> All(const AcDbDatabase& db) {
    std::vector<const T*> out;
    for (const AcDbObjectId& id : db.modelSpaceIds())
        if (const T* e = T::cast(db.peekObject(id))) out.push_back(e);
    return out;
}

// A new block of db holding the entities given, each closed once appended.
inline AcDbObjectId Block(AcDbDatabase& db, const wchar_t* name, std::initializer_list<AcDbEntity*> entities = {}) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbBlockTableRecord();
    rec->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, rec), Acad::eOk);
    table->close();
    for (AcDbEntity* e : entities) {
        EXPECT_EQ(rec->appendAcDbEntity(e), Acad::eOk);
        e->close();
    }
    rec->close();
    return id;
}

class TestDrawing {
public:
    TestDrawing() : m_db(std::make_unique<AcDbDatabase>(true)) {
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
    }
    ~TestDrawing() { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }
    TestDrawing(const TestDrawing&) = delete;
    TestDrawing& operator=(const TestDrawing&) = delete;

    AcDbDatabase& db() { return *m_db; }
    const AcDbDatabase& db() const { return *m_db; }

    // Appends e (closed afterwards) to model space or to the block owner.
    AcDbObjectId add(AcDbEntity* e, const AcDbObjectId& owner = AcDbObjectId::kNull) {
        AcDbBlockTableRecord* space = nullptr;
        EXPECT_EQ(acdbOpenObject(space, owner.isNull() ? m_db->modelSpaceId() : owner, AcDb::kForWrite), Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(space->appendAcDbEntity(id, e), Acad::eOk);
        e->close();
        space->close();
        return id;
    }

    // A new block holding the entities given.
    AcDbObjectId block(const wchar_t* name, std::initializer_list<AcDbEntity*> entities = {}) {
        return Block(*m_db, name, entities);
    }

    AcDbObjectId layer(const wchar_t* name, int aci = 7, bool off = false, bool frozen = false) {
        AcDbObjectId id;
        EXPECT_EQ(m_db->ensureLayer(name, id), Acad::eOk);
        AcDbLayerTableRecord* rec = nullptr;
        EXPECT_EQ(acdbOpenObject(rec, id, AcDb::kForWrite), Acad::eOk);
        rec->setColor(AcCmColor::fromIndex(static_cast<std::uint16_t>(aci)));
        rec->setIsOff(off);
        rec->setIsFrozen(frozen);
        rec->close();
        return id;
    }

    template <class T>
    std::vector<const T*> all() const { return All<T>(*m_db); }

    // A new, empty drawing in place of this one.
    void renew() {
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        m_db = std::make_unique<AcDbDatabase>(true);
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
    }

private:
    std::unique_ptr<AcDbDatabase> m_db;
};

inline AcDbLine* Line(double x0, double y0, double x1, double y1) {
    return new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0));
}

inline AcDbCircle* Circle(double x, double y, double r) {
    return new AcDbCircle(AcGePoint3d(x, y, 0), AcGeVector3d(0, 0, 1), r);
}

}  // namespace vorn::test
