#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include "app/WindowHelpers.h"

namespace kestrova {
namespace {

TEST(SetAlwaysOnTop, ChangesTheStackingOnlyKeepingPlaceSizeAndVisibility) {
    const struct {
        bool shown;
        bool startOnTop;
        bool flag;
    } rows[] = {
        {true, false, true}, {true, true, false},  {true, false, false},
        {true, true, true},  {false, false, true}, {false, true, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message()
                     << "shown " << r.shown << " from " << r.startOnTop << " to " << r.flag);
        QWidget w;
        w.setWindowFlag(Qt::WindowStaysOnTopHint, r.startOnTop);
        w.setGeometry(123, 77, 320, 140);
        if (r.shown) {
            w.show();
        }
        QCoreApplication::processEvents();
        const QRect before = w.geometry();
        SetAlwaysOnTop(&w, r.flag);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint), r.flag);
        EXPECT_EQ(w.isVisible(), r.shown);
        EXPECT_EQ(w.geometry(), before);
    }
}

TEST(SetAlwaysOnTop, FalseOnANormalWindowLeavesItsNativeWindowAlone) {
    QWidget w;
    w.show();
    QCoreApplication::processEvents();
    const WId id = w.winId();
    SetAlwaysOnTop(&w, false);
    EXPECT_EQ(w.winId(), id);
    EXPECT_TRUE(w.isVisible());
    SetAlwaysOnTop(nullptr, true);  // no window: nothing to do
}

}  // namespace
}  // namespace kestrova
