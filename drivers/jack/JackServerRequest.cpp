#include "drivers/jack/JackServerRequest.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

struct Answer {
    std::mutex Mutex;
    std::condition_variable Came;
    bool Answered = false;
    bool GivenUp = false;
};

void Send(jack_client_t* client, JackRequest request)
{
    if (request == JackRequest::Deactivate)
        jack_deactivate(client);
    else
        jack_client_close(client);
}

// The request's thread: asks, says the answer came, and finishes the client
// itself when the caller has given up waiting by then.
void Ask(const std::shared_ptr<Answer>& answer, jack_client_t* client, JackRequest request,
         const std::function<void()>& afterClose)
{
    Send(client, request);
    bool givenUp = false;
    {
        std::lock_guard lock(answer->Mutex);
        answer->Answered = true;
        givenUp = answer->GivenUp;
    }
    answer->Came.notify_all();
    if (!givenUp)
        return;
    if (request == JackRequest::Deactivate)
        jack_client_close(client);
    if (afterClose)
        afterClose();
}

} // namespace

bool SendJackRequest(jack_client_t* client, JackRequest request, std::chrono::milliseconds limit,
                     const std::function<void()>& giveUp, std::function<void()> afterClose)
{
    auto answer = std::make_shared<Answer>();
    std::thread asker;
    try {
        asker = std::thread(Ask, answer, client, request, std::move(afterClose));
    } catch (const std::system_error&) {
        // No thread to be had: asked here, waiting as long as it takes.
        Send(client, request);
        return true;
    }
    std::unique_lock lock(answer->Mutex);
    if (answer->Came.wait_for(lock, limit, [&] { return answer->Answered; })) {
        lock.unlock();
        asker.join();
        return true;
    }
    // Still under the lock: a late answer waits until the caller has let go.
    giveUp();
    answer->GivenUp = true;
    lock.unlock();
    asker.detach();
    return false;
}
