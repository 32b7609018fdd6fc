#pragma once
// Class ids, names and plugin files of the drivers that ship with the
// program; the host registers them and each plugin makes its own class.

inline constexpr const char* kJackDriverClassId = "{6f1e2a40-7c1b-4d5e-9a3f-2b8c0d4e5f61}";
inline constexpr const char* kJackDriverName = "JACK Audio";
inline constexpr const char* kJackPluginFile = "talvenor-jack.so";
inline constexpr const char* kDaqSimDriverClassId = "{a3c5e7f9-1b2d-4e6f-8a0b-c2d4e6f80a1c}";
inline constexpr const char* kDaqSimDriverName = "Talvenor USB Audio";
inline constexpr const char* kDaqSimPluginFile = "talvenor-daqsim.so";
