// The dxflib peer: a creation adapter that keeps what dxflib hands it. Built only where the
// library is installed (VORN_HAVE_DXFLIB); elsewhere the peer says it is missing.
#include "bench/host_dxf/dxflibpeer.h"

#ifdef VORN_HAVE_DXFLIB

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <memory>
#include <vector>

namespace vorn::bench {
namespace {

// Each entity's values and its layer, in vectors by kind, as a reader builds its drawing.
class Keeper : public DL_CreationAdapter {
public:
    template <class T>
    struct On {
        std::string layer;
        T data;
    };
    std::vector<DL_LayerData> layers;
    std::vector<DL_BlockData> blocks;
    std::vector<On<DL_LineData>> lines;
    std::vector<On<DL_ArcData>> arcs;
    std::vector<On<DL_CircleData>> circles;
    std::vector<On<DL_PolylineData>> polylines;
    std::vector<DL_VertexData> vertices;
    std::vector<On<DL_TextData>> texts;
    std::vector<On<DL_MTextData>> mtexts;
    std::vector<std::string> mtextChunks;
    std::vector<On<DL_InsertData>> inserts;
    std::vector<DL_AttributeData> attributes;
    std::vector<On<DL_HatchData>> hatches;
    std::vector<DL_HatchLoopData> hatchLoops;
    std::vector<DL_HatchEdgeData> hatchEdges;
    std::vector<On<DL_DimensionData>> dimensions;
    std::vector<DL_DimAlignedData> aligned;
    std::vector<On<DL_SplineData>> splines;
    std::vector<DL_ControlPointData> controlPoints;
    std::vector<DL_KnotData> knots;
    std::vector<On<DL_PointData>> points;

    void addLayer(const DL_LayerData& d) override { layers.push_back(d); }
    void addBlock(const DL_BlockData& d) override { blocks.push_back(d); }
    void addLine(const DL_LineData& d) override { lines.push_back({layer(), d}); }
    void addArc(const DL_ArcData& d) override { arcs.push_back({layer(), d}); }
    void addCircle(const DL_CircleData& d) override { circles.push_back({layer(), d}); }
    void addPolyline(const DL_PolylineData& d) override { polylines.push_back({layer(), d}); }
    void addVertex(const DL_VertexData& d) override { vertices.push_back(d); }
    void addText(const DL_TextData& d) override { texts.push_back({layer(), d}); }
    void addMText(const DL_MTextData& d) override { mtexts.push_back({layer(), d}); }
    void addMTextChunk(const std::string& text) override { mtextChunks.push_back(text); }
    void addInsert(const DL_InsertData& d) override { inserts.push_back({layer(), d}); }
    void addAttribute(const DL_AttributeData& d) override { attributes.push_back(d); }
    void addHatch(const DL_HatchData& d) override { hatches.push_back({layer(), d}); }
    void addHatchLoop(const DL_HatchLoopData& d) override { hatchLoops.push_back(d); }
    void addHatchEdge(const DL_HatchEdgeData& d) override { hatchEdges.push_back(d); }
    void addDimAlign(const DL_DimensionData& d, const DL_DimAlignedData& a) override {
        dimensions.push_back({layer(), d});
        aligned.push_back(a);
    }
    void addSpline(const DL_SplineData& d) override { splines.push_back({layer(), d}); }
    void addControlPoint(const DL_ControlPointData& d) override { controlPoints.push_back(d); }
    void addKnot(const DL_KnotData& d) override { knots.push_back(d); }
    void addPoint(const DL_PointData& d) override { points.push_back({layer(), d}); }

    PeerCounts counts() const {
        PeerCounts c;
        c.entities = lines.size() + arcs.size() + circles.size() + polylines.size() + texts.size() + mtexts.size() +
                     inserts.size() + hatches.size() + dimensions.size() + splines.size() + points.size();
        c.vertices = vertices.size() + hatchEdges.size() + controlPoints.size() + knots.size();
        return c;
    }

private:
    std::string layer() { return getAttributes().getLayer(); }
};

}  // namespace

bool HavePeer() { return true; }

std::shared_ptr<void> PeerRead(const std::string& path, PeerCounts& counts) {
    auto keeper = std::make_shared<Keeper>();
    DL_Dxf dxf;
    if (!dxf.in(path, keeper.get())) return nullptr;
    counts = keeper->counts();
    return keeper;
}

}  // namespace vorn::bench

#else

namespace vorn::bench {

bool HavePeer() { return false; }
std::shared_ptr<void> PeerRead(const std::string&, PeerCounts&) { return nullptr; }

}  // namespace vorn::bench

#endif
