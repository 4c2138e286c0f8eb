#pragma once
#include <utility>

class CSerialPort;

// A recovery or an instrument detection owning its connection's line. While
// a hold lives, the port refuses every write, break, rate change and purge
// that is not one of the holder's admitted steps, so nothing else reaches the
// instrument in the middle of the exchange. User-interface thread only.
class CLineHold {
public:
    explicit CLineHold(CSerialPort& port);
    ~CLineHold();
    CLineHold(const CLineHold&) = delete;
    CLineHold& operator=(const CLineHold&) = delete;

    // Runs one step of the holder that drives the line. The step must not
    // pump messages: whatever ran meanwhile would be let through too.
    template <typename Step>
    decltype(auto) Admit(Step&& step)
    {
        struct Admission {
            CLineHold& hold;
            bool before;
            ~Admission() { hold.EndStep(before); }
        } admission{*this, BeginStep()};
        return std::forward<Step>(step)();
    }

private:
    bool BeginStep();
    void EndStep(bool before);

    CSerialPort& m_port;
};
