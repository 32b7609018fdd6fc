#pragma once
// Decides which progress positions reach the status bar's progress control:
// only 0 … 99, and only a position that differs from the last one set, so
// that a worker reporting the same percent many times repaints once.

class ProgressFilter {
public:
    bool Accept(int position);
    // The control was set to this position directly (shown or hidden).
    void Reset(int position) { last_ = position; }
    int Last() const { return last_; }

private:
    int last_ = -1;
};
