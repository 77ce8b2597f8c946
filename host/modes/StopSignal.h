// The requests that stop a run: SIGINT, SIGTERM and SIGHUP. A handler can do almost nothing, so
// it sets a flag and writes one byte to a pipe; the event loop waits on the pipe's other end
// with everything else, so a stop is seen at once, in a modal dialog's loop too, and no timer
// has to look for it.
#pragma once

namespace host {

class StopSignal {
public:
    // Installs the handlers; one object at a time.
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    bool Requested() const;
    // Readable once a stop was requested; -1 when no pipe could be made (the flag still works).
    int ReadFd() const { return m_pipe[0]; }
    // Empties the pipe after its readiness was seen.
    void Drain();

private:
    int m_pipe[2] = { -1, -1 };
};

} // namespace host
