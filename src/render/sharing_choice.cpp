// The choice between sharing a frame's columns and drawing it alone, from what the frames cost.
#include "render/sharing_choice.h"

#include <algorithm>

namespace krello {

// A running estimate moves a share of the way to each new cost.
void SharingChoice::fold(double& estimate, double cost, double weight) {
    estimate = estimate < 0.0 ? cost : estimate + (cost - estimate) * weight;
}

void SharingChoice::goAlone() {
    aloneLeft_ = aloneNext_;
    aloneNext_ = std::min(2 * aloneNext_, ALONE_MOST);
    trialLeft_ = 0;
}

void SharingChoice::workerCame(bool prompt) { judgeWaiting(prompt ? 0 : 1, 1); }

void SharingChoice::judgeWaiting(int late, int arrivals) {
    if (sleepLeft_ > 0) return;
    lateArrivals_ += late;
    arrivals_ += arrivals;
    if (arrivals_ < LATE_WINDOW && lateArrivals_ <= LATE_MOST) return;
    if (lateArrivals_ > LATE_MOST) {
        sleepLeft_ = sleepNext_;
        sleepNext_ = std::min(2 * sleepNext_, SLEEP_MOST);
    } else {
        sleepNext_ = std::max(sleepNext_ / 2, SLEEP_FIRST);  // a whole window on time
    }
    arrivals_ = 0;
    lateArrivals_ = 0;
}

void SharingChoice::drawn(bool shared, double cost, bool stalled) {
    if (sleepLeft_ > 0) --sleepLeft_;
    if (!shared) {
        fold(aloneCost_, cost, 0.25);
        if (aloneLeft_ == 0) {
            sinceProbe_ = 0;  // a frame drawn alone to compare
        } else if (--aloneLeft_ == 0) {
            // Try sharing again, judged on its own frames only, not the ones that sent us here.
            trialLeft_ = TRIAL;
            sharedCost_ = -1.0;
        }
        return;
    }
    ++sinceProbe_;
    if (sharedCost_ > 0.0 && cost > STALL_TIMES * sharedCost_) judgeWaiting(STALL_LATE, 0);
    // In a trial the estimate is the mean of its frames; after it, a running one.
    fold(sharedCost_, cost, trialLeft_ > 0 ? 1.0 / (TRIAL - trialLeft_ + 1) : 0.125);
    const bool dearer = aloneCost_ >= 0.0 && sharedCost_ >= aloneCost_ * (1.0 - MARGIN);
    if (stalled) {
        goAlone();
    } else if (trialLeft_ > 0) {
        if (--trialLeft_ > 0) return;
        if (dearer) {
            goAlone();
        } else {
            aloneNext_ = std::max(aloneNext_ / 2, ALONE_FIRST);  // sharing pays again
        }
    } else if (dearer) {
        goAlone();
    }
}

}  // namespace krello
