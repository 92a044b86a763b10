#include "platform/desktop/NotificationCenter.h"

#include <algorithm>

namespace tomefuse {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* observer, Handler handler, std::string name, const void* object) {
    observations_.push_back({observer, std::move(handler), std::move(name), object, nextId_++});
}

void NotificationCenter::removeObserver(const void* observer) {
    std::erase_if(observations_, [observer](const Observation& o) { return o.observer == observer; });
}

void NotificationCenter::postNotification(const Notification& notification) {
    // A handler may add or remove observations while we deliver: deliver to a snapshot, and skip
    // those removed meanwhile.
    std::vector<uint64_t> matching;
    for (const Observation& o : observations_) {
        if ((o.name.empty() || o.name == notification.name) && (!o.object || o.object == notification.object)) {
            matching.push_back(o.id);
        }
    }
    for (uint64_t id : matching) {
        auto it =
            std::find_if(observations_.begin(), observations_.end(), [id](const Observation& o) { return o.id == id; });
        if (it == observations_.end()) {
            continue;
        }
        Handler handler = it->handler;  // a copy: the handler may remove its own observation
        handler(notification);
    }
}

}  // namespace tomefuse
