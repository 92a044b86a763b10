#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tomefuse {

struct Notification {
    std::string name;
    const void* object = nullptr;
    std::map<std::string, double> userInfo;
};

// Synchronous delivery on the posting thread, in the order the observations were added.
class NotificationCenter {
  public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // An empty name matches every name; a null object matches every object.
    void addObserver(const void* observer, Handler handler, std::string name, const void* object);
    // Every observation of the observer.
    void removeObserver(const void* observer);
    void postNotification(const Notification& notification);

    size_t observationCount() const { return observations_.size(); }

  private:
    struct Observation {
        const void* observer;
        Handler handler;
        std::string name;
        const void* object;
        uint64_t id;
    };
    std::vector<Observation> observations_;
    uint64_t nextId_ = 0;
};

}  // namespace tomefuse
