// A scripted session over a fresh drawing with the host's commands registered.
#pragma once

#include <cmath>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "host/cmds/cmds.h"
#include "host/ed/dbaccess.h"
#include "host/ed/dbinclude.h"
#include "host/ed/editor.h"
#include "host/ed/frontends.h"

namespace vorn::cmds::test {

class CmdTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterHostCommands();
        NewDrawing();
    }
    // A fresh drawing in place of the test's, for each row of a table.
    void NewDrawing() {
        auto db = std::make_unique<AcDbDatabase>(true);
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        m_db = std::move(db);
    }
    void TearDown() override {
        vorn::ed::SetTranscriptSink(nullptr);
        vorn::ed::ResetEditor();
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }
    // Runs a script to its end; the transcript is kept in out.
    void Run(const std::string& script) {
        vorn::ed::ResetEditor();
        out.clear();
        vorn::ed::SetTranscriptSink([this](const std::string& text) { out += text; });
        vorn::ed::SetLineSource(vorn::ed::ScriptTextSource(script), true);
        vorn::ed::RunCommandLoop();
    }
    bool Has(const std::string& text) const { return out.find(text) != std::string::npos; }

    AcDbObjectId AddLine(double x1, double y1, double x2, double y2, const wchar_t* layer = nullptr) {
        auto* line = new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0));
        SetLayer(line, layer);
        return vorn::ed::dbx::AppendToModelSpace(line);
    }
    // Angles in degrees, counter-clockwise.
    AcDbObjectId AddArc(double cx, double cy, double r, double a0, double a1, const wchar_t* layer = nullptr) {
        const double k = 3.14159265358979323846 / 180.0;
        auto* arc = new AcDbArc(AcGePoint3d(cx, cy, 0), r, a0 * k, a1 * k);
        SetLayer(arc, layer);
        return vorn::ed::dbx::AppendToModelSpace(arc);
    }
    void SetLayer(AcDbEntity* e, const wchar_t* layer) {
        if (!layer) return;
        AcDbObjectId lid;
        m_db->ensureLayer(layer, lid);
        e->setLayer(lid);
    }
    // Live model-space entities of one class, in database order.
    template <class T>
    std::vector<AcDbObjectId> Of() const {
        std::vector<AcDbObjectId> ids;
        for (const AcDbObjectId& id : vorn::ed::dbx::ModelSpace())
            if (!id.isErased() && T::cast(m_db->peekObject(id))) ids.push_back(id);
        return ids;
    }
    template <class T>
    const T* Get(const AcDbObjectId& id) const { return T::cast(m_db->peekObject(id)); }

    std::unique_ptr<AcDbDatabase> m_db;
    std::string out;
};

inline void ExpectPoint(const AcGePoint3d& p, double x, double y, double tol = 1e-6) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

}  // namespace vorn::cmds::test
