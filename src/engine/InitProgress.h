#pragma once

namespace quorrel {

// What a long initialisation tells the outside: the desktop program shows its
// "Initialising Landscape" window, the batch runner uses this class as it is (no
// window, never cancelled).
class InitProgress {
public:
    virtual ~InitProgress() = default;

    // Shows the progress with the total and 0 done, and forgets any earlier cancel.
    virtual void Open(int /*total*/) {}
    // Shows the number done so far.
    virtual void Show(int /*done*/) {}
    // Lets the interface handle pending events; true when the user cancelled or the
    // application is closing.
    virtual bool CancelRequested() { return false; }
    virtual void Close() {}
};

} // namespace quorrel
