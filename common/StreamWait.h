#pragma once
#include "HResult.h"

class IProgress;

// How long a file waits for a slow or late peer (the other end of a pipe or
// FIFO, a device). While a StreamWait lives, as long as it takes: the wait
// goes in short slices and pumps the run's progress between them, ending once
// that answers false (Cancel) as the failed transfer it then is; a signal
// that ends the program ends it too. With none alive a wait is bounded, since
// nobody could end it.
class StreamWait {
public:
    explicit StreamWait(IProgress& progress);
    ~StreamWait();
    StreamWait(const StreamWait&) = delete;
    StreamWait& operator=(const StreamWait&) = delete;

    // Waits until poll reports one of `events`, an error or a hang-up on `fd`
    // and gives what it reported; fails when cancelled, after the bounded
    // wait, or when poll fails.
    static HRESULT UntilReady(int fd, short events, short* reported);
    // One slice between two tries of something that cannot be polled (opening
    // a FIFO that has no reader yet); fails when cancelled, and at once when
    // no StreamWait lives.
    static HRESULT Pause();
    // True once a wait of the living StreamWait ended on Cancel: what fails
    // after that is the Cancel's doing, not a file's.
    static bool WasCancelled();

private:
    static HRESULT Cancelled();

    IProgress& m_progress;
    StreamWait* m_previous;
    bool m_bCancelled = false;
};
