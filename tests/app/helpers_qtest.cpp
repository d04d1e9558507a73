#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>
#include <tuple>

#include "widgets/WindowHelpers.h"

namespace kestrova {
namespace {

// Changing the flag keeps place, size and visibility; asking for what the window already has
// leaves its native window alone.
TEST(SetAlwaysOnTop, ChangesTheStackingOnlyKeepingPlaceSizeAndVisibility) {
    const std::tuple<bool, bool, bool> rows[] = {
        {true, false, true}, {true, true, false},  {true, false, false},
        {true, true, true},  {false, false, true}, {false, true, false},
    };
    for (const auto& [shown, startOnTop, flag] : rows) {
        SCOPED_TRACE(testing::Message()
                     << "shown " << shown << ", " << startOnTop << " to " << flag);
        QWidget w;
        w.setWindowFlag(Qt::WindowStaysOnTopHint, startOnTop);
        w.setGeometry(123, 77, 320, 140);
        w.setVisible(shown);
        QCoreApplication::processEvents();
        const QRect before = w.geometry();
        const WId id = shown ? w.winId() : 0;
        SetAlwaysOnTop(&w, flag);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint), flag);
        EXPECT_EQ(w.isVisible(), shown);
        EXPECT_EQ(w.geometry(), before);
        if (shown && flag == startOnTop) {
            EXPECT_EQ(w.winId(), id);
        }
    }
    SetAlwaysOnTop(nullptr, true);  // no window: nothing to do
}

}  // namespace
}  // namespace kestrova
