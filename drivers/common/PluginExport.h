#pragma once
// Plugins are built with hidden symbols; only what the host looks up by name
// is exported.
#define TALVENOR_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
