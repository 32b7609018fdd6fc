#pragma once
// What libjack's threads call back through, instead of the driver itself.
// A client whose server stops answering is given up while libjack still
// holds its threads; should the server wake, they may call back once more,
// after the driver has gone, and then find no driver here.

#include <atomic>
#include <chrono>

class JackAsioDriver;

struct JackCallbackLink {
    explicit JackCallbackLink(JackAsioDriver* driver) : Driver(driver) {}

    // No callback reaches the driver from here on. One under way is waited
    // for, but at most `limit`: libjack cancels its threads asynchronously
    // as it closes a client, and a thread cancelled inside a callback never
    // counts itself out.
    void Unlink(std::chrono::milliseconds limit);

    std::atomic<JackAsioDriver*> Driver;
    std::atomic<int> Calls{0};
};

// Counts a callback in for its lifetime; Driver() is the driver it may use,
// or null once the link has been cut.
class JackCallbackScope {
public:
    explicit JackCallbackScope(void* link) : Link(*static_cast<JackCallbackLink*>(link))
    {
        // Counted in before the driver is read, as Unlink clears it before it
        // reads the count: one of the two always sees the other.
        Link.Calls.fetch_add(1, std::memory_order_seq_cst);
        Target = Link.Driver.load(std::memory_order_seq_cst);
    }
    ~JackCallbackScope() { Link.Calls.fetch_sub(1, std::memory_order_release); }
    JackCallbackScope(const JackCallbackScope&) = delete;
    JackCallbackScope& operator=(const JackCallbackScope&) = delete;

    JackAsioDriver* Driver() const { return Target; }

private:
    JackCallbackLink& Link;
    JackAsioDriver* Target = nullptr;
};
