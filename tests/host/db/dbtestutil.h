// Helpers for the database tests: appending to model space and reading objects back.
#pragma once

#include <gtest/gtest.h>

#include "host/db/db.h"
#include "tests/testdrawing.h"

namespace dbtest {

using vorn::test::Block;

// Appends to model space and closes; returns the null id when the database refused.
inline AcDbObjectId Add(AcDbDatabase& db, AcDbEntity* e, Acad::ErrorStatus* status = nullptr) {
    AcDbBlockTableRecord* ms = nullptr;
    EXPECT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    Acad::ErrorStatus es = ms->appendAcDbEntity(id, e);
    if (es == Acad::eOk) e->close();
    ms->close();
    if (status) *status = es;
    return id;
}

template <class T>
const T* Peek(AcDbDatabase& db, const AcDbObjectId& id) {
    return T::cast(db.peekObject(id));
}

}  // namespace dbtest
