#pragma once
// Everyone told what the displays show, in the order they were added.

#include <vector>

#include "core/Readings.h"

namespace kestrova {

class ReadingListeners : public ReadingListener {
  public:
    void add(ReadingListener& listener) { listeners_.push_back(&listener); }
    // Told before the others, for one whose results they use.
    void addFirst(ReadingListener& listener) { listeners_.insert(listeners_.begin(), &listener); }
    bool empty() const { return listeners_.empty(); }

    void bearingShown(const BearingShown& b) override {
        for (ReadingListener* l : listeners_) {
            l->bearingShown(b);
        }
    }
    void positionShown(const PositionShown& p) override {
        for (ReadingListener* l : listeners_) {
            l->positionShown(p);
        }
    }
    void positionLost() override {
        for (ReadingListener* l : listeners_) {
            l->positionLost();
        }
    }
    void bearingsStopped() override {
        for (ReadingListener* l : listeners_) {
            l->bearingsStopped();
        }
    }

  private:
    std::vector<ReadingListener*> listeners_;
};

}  // namespace kestrova
