// The legend preview's drawing and the legend written into the drawing.
#include "legend/legendentity.h"

#include "framework/core/KyDbBlockReference.h"
#include "framework/core/KyDbText.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "framework/core/KyGiStream.h"
#include "legend/legendlayout.h"

namespace {

constexpr const wchar_t* kLegendTitle = L"图例";
constexpr const wchar_t* kLegendLayer = L"PLAN-SAMPLE";

KyDbText MakeText(const AcGePoint3d& at, const std::wstring& text, int alignment) {
    KyDbText t(at, text.c_str(), alignment);
    t.SetTextHeight(3.5, KyDbText::kPlotted);
    return t;
}

}  // namespace

KyDbMapLegend::~KyDbMapLegend() = default;

bool KyDbMapLegend::GetBlockIds(AcDbObjectIdArray& ids) const {
    ids = m_blockIds;
    return !ids.isEmpty();
}

bool KyDbMapLegend::GetBlockPositions(KyGePointArray& points) const {
    points = m_blockPositions;
    return !points.empty();
}

bool KyDbMapLegend::GetNames(std::vector<std::wstring>& names) const {
    names = m_names;
    return !names.empty();
}

bool KyDbMapLegend::GetTextPositions(KyGePointArray& points) const {
    points = m_textPositions;
    return !points.empty();
}

void KyDbMapLegend::OnExplode(KyGiStream& stream) const {
    if (m_blockIds.isEmpty()) return;
    stream << MakeText(m_ptPosition, kLegendTitle, KyGiText::kCenterMiddle);
    if (static_cast<std::size_t>(m_blockIds.length()) == m_blockPositions.size()) {
        const std::vector<double> factors = LegendFitFactors(m_blockIds, KyDbGetPlotFactor());
        for (int i = 0; i < m_blockIds.length(); ++i) {
            if (m_blockIds[i].isNull()) continue;
            const double f = factors[static_cast<std::size_t>(i)];
            stream << KyGiBlock(m_blockPositions[static_cast<std::size_t>(i)], m_blockIds[i],
                                m_dRotation, f, f, 1.0);
        }
    }
    if (m_names.size() == m_textPositions.size())
        for (std::size_t i = 0; i < m_names.size(); ++i)
            if (!m_names[i].empty())
                stream << MakeText(m_textPositions[i], m_names[i], KyGiText::kLeftMiddle);
}

void BuildLegendEntities(const KyDbMapLegend& legend, AcDbObjectIdArray& ids) {
    AcDbObjectIdArray blocks;
    if (!legend.GetBlockIds(blocks)) return;
    const AcDbObjectId layer = KyDtInitLayer(kLegendLayer);
    auto add = [&](AcDbEntity* entity) {
        if (!layer.isNull()) entity->setLayer(layer);
        const AcDbObjectId id = AddToCurrentSpace(entity);
        if (!id.isNull()) ids.append(id);
    };
    add(new KyDbText(MakeText(legend.GetPosition(), kLegendTitle, KyGiText::kCenterMiddle)));

    std::vector<std::wstring> names;
    KyGePointArray textPoints, blockPoints;
    legend.GetNames(names);
    legend.GetTextPositions(textPoints);
    legend.GetBlockPositions(blockPoints);
    if (names.size() == textPoints.size())
        for (std::size_t i = 0; i < names.size(); ++i)
            if (!names[i].empty())
                add(new KyDbText(MakeText(textPoints[i], names[i], KyGiText::kLeftMiddle)));

    if (static_cast<std::size_t>(blocks.length()) != blockPoints.size()) return;
    const double rotation = UcsToWcs(0.0);
    const std::vector<double> factors = LegendFitFactors(blocks, KyDbGetPlotFactor());
    for (int i = 0; i < blocks.length(); ++i) {
        // A symbol that failed to load has no block; a reference to nothing is never written.
        if (blocks[i].isNull()) continue;
        auto* ref = new KyDbBlockReference(blockPoints[static_cast<std::size_t>(i)], blocks[i]);
        const double f = factors[static_cast<std::size_t>(i)];
        ref->SetScaleFactors(f, f, 1.0);
        ref->SetRotation(rotation);
        add(ref);
    }
}
