#pragma once
#include <array>

// The one run log the program holds: 512 one-second samples of battery voltage (V) and
// motor current (A). Index n is elapsed time n seconds. Exactly -1 marks a sample without
// a value; VoltData[0] == -1 is how the program tells that no log is held.
class LogStore {
public:
    static constexpr int SampleCount = 512;
    static constexpr float Missing = -1.0f;

    // Start-up state: every sample 0 (the main window's initialisation then marks it empty).
    std::array<float, SampleCount> VoltData {};
    std::array<float, SampleCount> CurData {};

    bool isEmpty() const { return VoltData[0] == Missing; }
    void markEmpty() { VoltData[0] = Missing; }
};
