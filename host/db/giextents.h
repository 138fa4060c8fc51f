// A sink that measures the box of what is drawn as it is drawn, for extents: the same box as
// a GiCollector's extents() over the same primitives, without keeping them.
#pragma once

#include "host/db/gi.h"

namespace vorn::db {

class GiExtentsMeter : public GiWorldSink {
public:
    const AcDbExtents& extents() const { return m_extents; }

protected:
    bool emit(GiPrimitive&& primitive) override;

private:
    AcDbExtents m_extents;
};

}  // namespace vorn::db
