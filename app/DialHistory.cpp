#include "app/DialHistory.h"

#include <algorithm>
#include <vector>

#include "app/WindowLook.h"
#include "display/Bearing.h"
#include "widgets/Look.h"
#include "widgets/NeedleGauge.h"

namespace kestrova {

void DialHistory::setLength(int readouts) {
    const bool was = history_.length() > 0;
    history_.setLength(static_cast<std::size_t>(std::max(0, readouts)));
    if (readouts > 0 && !was) {
        gauge_.setOverlayPainter([this](QPainter& p, int side) {
            std::vector<pictures::DialMark> marks;
            for (std::size_t i = 0; i < history_.size(); ++i) {
                marks.push_back({history_.mark(i).degrees, history_.mark(i).strength});
            }
            marks_.paint(p, side, marks, shade(look_.palette(), pictures::kHistoryMark));
        });
    } else if (readouts <= 0 && was) {
        gauge_.setOverlayPainter(nullptr);
    } else if (was) {
        gauge_.overlayChanged();  // fewer marks, or the same fading faster or slower
    }
}

void DialHistory::bearingShown(const BearingShown& b) {
    if (history_.add(ShownDegrees(b.tenths))) {
        gauge_.overlayChanged();
    }
}

void DialHistory::bearingsStopped() {
    if (history_.size() > 0) {
        history_.clear();
        gauge_.overlayChanged();
    }
}

}  // namespace kestrova
