#pragma once
// Host calls: each passes on to the loaded driver and answers its result
// code, or answers kAsioNotPresent (−1000) with harmless values in the out
// arguments when no driver is loaded.
//
// The loaded driver is one process-wide pointer, set by loadAsioDriver and
// cleared by ASIOExit. ASIOGetSamplePosition and ASIOOutputReady are also
// called on the driver's thread, inside its buffer switch.

#include "audio/AsioDriver.h"

// With no driver: driver version 0, name "No ASIO Driver". When the driver's
// init fails, its error message is copied into info and the driver pointer
// is cleared (−1000); on success the error text is "No ASIO Driver Error".
ASIOError ASIOInit(ASIODriverInfo* info);
// Unloads the current driver; always 0.
ASIOError ASIOExit();
ASIOError ASIOStart();
ASIOError ASIOStop();
// With no driver both counts are 0.
ASIOError ASIOGetChannels(std::int32_t* numInputChannels, std::int32_t* numOutputChannels);
// With no driver all four are 0.
ASIOError ASIOGetBufferSize(std::int32_t* minSize, std::int32_t* maxSize, std::int32_t* preferredSize,
                            std::int32_t* granularity);
ASIOError ASIOCanSampleRate(ASIOSampleRate sampleRate);
ASIOError ASIOGetSampleRate(ASIOSampleRate* currentRate);
ASIOError ASIOSetSampleRate(ASIOSampleRate sampleRate);
ASIOError ASIOGetSamplePosition(ASIOSamples* samplePosition, ASIOTimeStamp* systemTime);
// With no driver: channel group −1, type 0, name "None".
ASIOError ASIOGetChannelInfo(ASIOChannelInfo* info);
// With no driver both buffer halves of every record are null.
ASIOError ASIOCreateBuffers(ASIOBufferInfo* bufferInfos, std::int32_t numChannels, std::int32_t bufferSize,
                            const ASIOCallbacks* callbacks);
ASIOError ASIODisposeBuffers();
ASIOError ASIOOutputReady();
// A driver's extension by selector (kAsioGetFramesLost).
ASIOError ASIOFuture(std::int32_t selector, void* opt);

// The loaded driver, null when none.
AsioDriver* CurrentAsioDriver();
void SetCurrentAsioDriver(AsioDriver* driver);
