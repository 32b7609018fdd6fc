#pragma once
// The requests that wait for the JACK server's answer when a stream stops or
// its client closes, sent from a thread of their own: libjack waits for the
// answer without a time limit, so a server that is stopped or hung would
// hold up whoever asked (the window closing) for good. A request that is not
// answered in time is left to its thread, which finishes it whenever the
// server answers, if ever, and then closes the client.

#include <jack/jack.h>

#include <chrono>
#include <functional>

enum class JackRequest { Deactivate, Close };

// Sends the request and waits at most `limit` for the answer; true when it
// came. Otherwise `giveUp` runs before the request's thread may go on (the
// caller lets go of the client there), and that thread, once the server
// answers, closes the client and runs `afterClose`.
bool SendJackRequest(jack_client_t* client, JackRequest request, std::chrono::milliseconds limit,
                     const std::function<void()>& giveUp, std::function<void()> afterClose);
