// A person's actions in a window test, played one by one each time the editor waits for the
// user while wait() runs (the command loop, or one prompt).
#pragma once

#include <gtest/gtest.h>

#include <QTimer>

#include <functional>
#include <vector>

#include "gui/frontend.h"

namespace vorn::test {

struct StepOptions {
    int delayMs = 0;                      // how long after the editor waits a step comes
    std::function<void()> afterLast;      // what ends it all; the end of the input when empty
    bool eachMustGiveAnEvent = false;     // a step that leaves the editor nothing to do fails
    QObject* context = nullptr;           // the steps die with it
};

// A run that hangs is ended after 30 s with a failure.
inline void PlaySteps(const std::vector<std::function<void()>>& steps, const std::function<void()>& wait,
                      const StepOptions& options = {}) {
    vorn::gui::FrontEnd& frontEnd = vorn::gui::FrontEnd::instance();
    std::size_t next = 0;
    bool scheduled = false;
    const int hook = frontEnd.addWaitHook([&] {
        if (scheduled) return;
        scheduled = true;
        const auto step = [&] {
            scheduled = false;
            if (next < steps.size()) steps[next++]();
            else if (options.afterLast) options.afterLast();
            else frontEnd.endInput();
            if (options.eachMustGiveAnEvent && !frontEnd.hasPending()) {
                ADD_FAILURE() << "step " << next << " gave the editor nothing to do";
                frontEnd.endInput();
            }
        };
        if (options.context) QTimer::singleShot(options.delayMs, options.context, step);
        else QTimer::singleShot(options.delayMs, step);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        ADD_FAILURE() << "the editor still waited after step " << next;
        frontEnd.endInput();
    });
    watchdog.start(30000);
    wait();
    frontEnd.removeWaitHook(hook);
    frontEnd.install();  // ready for the next run
}

}  // namespace vorn::test
